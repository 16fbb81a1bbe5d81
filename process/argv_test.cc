// Argument-file syntax: splitting, writing and reading back, and the
// expansion of "@file" arguments.  The driver tests cover expansion in
// place (quoting, nesting, blank files), a file naming itself and a
// directory named after "@".
#include "process/argv.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/scratch-dir-test-support.h"

namespace {

using args = std::vector<std::string>;

args split(const char *text) {
  args result;
  char **argv = split_arguments(text);
  for (char **p = argv; p && *p; ++p)
    result.push_back(*p);
  free_arguments(argv);
  return result;
}

TEST(SplitArguments, QuotesBackslashesAndWhitespace) {
  EXPECT_EQ(split("  one\ttwo\n\v\f\rthree  "), (args{"one", "two", "three"}));
  // Quotes enclose blanks and the other quote character, and vanish.
  EXPECT_EQ(split("'a \"b' \"c 'd\""), (args{"a \"b", "c 'd"}));
  EXPECT_EQ(split("x'y z'w \"\" ''"), (args{"xy zw", "", ""}));
  // A backslash makes any next character literal, inside quotes too.
  EXPECT_EQ(split("a\\ b \\\\ \\' \"q\\\"q\" 'r\\'r'"),
            (args{"a b", "\\", "'", "q\"q", "r'r"}));
  // An unterminated quote runs to the end; a final backslash escapes nothing.
  EXPECT_EQ(split("'open quote"), (args{"open quote"}));
  EXPECT_EQ(split("end\\"), (args{"end"}));
  // Always at least one argument.
  EXPECT_EQ(split(" \n\t "), (args{""}));
  EXPECT_EQ(split_arguments(nullptr), nullptr);
  // Past the initial room of eight entries.
  std::string many;
  args expected;
  for (int i = 0; i < 40; ++i) {
    many += "w" + std::to_string(i) + " ";
    expected.push_back("w" + std::to_string(i));
  }
  EXPECT_EQ(split(many.c_str()), expected);
}

TEST(WriteArguments, RoundTripsThroughSplittingAndReportsFailures) {
  std::vector<const char *> written = {"plain", "a b\tc\nd", "back\\slash", "it's",
                                       "say \"hi\"", "", "\v\f\r", "'\"\\ ", nullptr};
  std::string text = printed([&](std::FILE *stream) {
    EXPECT_EQ(write_arguments(const_cast<char *const *>(written.data()), stream), 0);
  });
  // Empty arguments are written as two double quotes; each line ends an
  // argument.
  EXPECT_EQ(text.substr(0, 6), "plain\n");
  EXPECT_NE(text.find("\n\"\"\n"), std::string::npos);
  EXPECT_EQ(split(text.c_str()), args(written.begin(), written.end() - 1));

  char *argv[] = {const_cast<char *>("x"), nullptr};
  EXPECT_EQ(write_arguments(argv, nullptr), 1);
  if (std::FILE *full = std::fopen("/dev/full", "w")) {
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(write_arguments(argv, full), 1);
    std::fclose(full);
  }
}

// Expand IN, which must stay as it is; the failure text.
const char *expand_unchanged(const args &in) {
  std::vector<char *> argv;
  for (const std::string &a : in)
    argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  int argc = static_cast<int>(in.size());
  char **vec = argv.data();
  const char *failure = expand_response_files(&argc, &vec);
  EXPECT_EQ(vec, argv.data()) << "the vector was replaced";
  EXPECT_EQ(args(vec, vec + argc), in);
  if (vec != argv.data())
    free_arguments(vec);
  return failure;
}

TEST(ExpandResponseFiles, UnusableNamesStayAndTheTwoThousandthAtArgumentIsAnError) {
  scratch_dir scratch;
  // The program name is never expanded, even when it names a file.
  args in = {"@" + scratch.file("named", "x"), "@" + scratch.path("missing"), "@"};
  // Permission bits do not bind the super-user.
  if (geteuid() != 0) {
    in.push_back("@" + scratch.file("locked", "-x"));
    chmod(scratch.path("locked").c_str(), 0);
  }
  EXPECT_EQ(expand_unchanged(in), nullptr);

  // "@" arguments naming no file count too: 1999 pass, 2000 do not.
  args many(1, "vrk");
  many.insert(many.end(), 1999, "@" + scratch.path("none"));
  EXPECT_EQ(expand_unchanged(many), nullptr);
  many.push_back("@" + scratch.path("none"));
  EXPECT_EQ(expand_unchanged(many), too_many_response_files);
}

TEST(ExpandResponseFiles, OriginsNameTheFileAndWordOfEveryExpandedArgument) {
  scratch_dir scratch;
  std::string inner = scratch.file("inner", "-c 'x y'\n");
  std::string outer = scratch.file("outer", "-DA @" + inner + " -DB\n");
  std::vector<std::string> in = {"vrk", "-O2", "@" + outer, "z.c"};
  std::vector<char *> argv;
  for (std::string &a : in)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(in.size());
  char **vec = argv.data();
  std::vector<argument_origin> origins;
  ASSERT_EQ(expand_response_files(&argc, &vec, &origins), nullptr);
  ASSERT_EQ(args(vec, vec + argc), (args{"vrk", "-O2", "-DA", "-c", "x y", "-DB", "z.c"}));
  // Each argument's file ("" for the command line) and word; a nested
  // file's words name the nested file.
  std::vector<std::pair<std::string, int>> got;
  for (const argument_origin &o : origins)
    got.push_back({o.file ? o.file : "", o.file ? o.word : 0});
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                     {"", 0}, {"", 0}, {outer, 1}, {inner, 1}, {inner, 2}, {outer, 3}, {"", 0}}));
  free_arguments(vec);

  // Nothing expanded: no origins at all.
  std::vector<std::string> plain = {"vrk", "-c"};
  std::vector<char *> plain_argv = {plain[0].data(), plain[1].data(), nullptr};
  int plain_argc = 2;
  char **plain_vec = plain_argv.data();
  ASSERT_EQ(expand_response_files(&plain_argc, &plain_vec, &origins), nullptr);
  EXPECT_TRUE(origins.empty());
}

} // namespace
