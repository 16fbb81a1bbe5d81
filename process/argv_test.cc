// Argument-file syntax: splitting, writing and reading back, and the
// expansion of "@file" arguments.
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

std::vector<std::string> split(const char *text) {
  std::vector<std::string> result;
  char **argv = split_arguments(text);
  for (char **p = argv; p && *p; ++p)
    result.push_back(*p);
  free_arguments(argv);
  return result;
}

using args = std::vector<std::string>;

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
}

TEST(SplitArguments, AlwaysAtLeastOneArgument) {
  EXPECT_EQ(split(""), (args{""}));
  EXPECT_EQ(split(" \n\t "), (args{""}));
  EXPECT_EQ(split_arguments(nullptr), nullptr);
  // Past the initial room of eight entries.
  std::string many;
  for (int i = 0; i < 40; ++i)
    many += "w" + std::to_string(i) + " ";
  args expected;
  for (int i = 0; i < 40; ++i)
    expected.push_back("w" + std::to_string(i));
  EXPECT_EQ(split(many.c_str()), expected);
}

TEST(WriteArguments, RoundTripsThroughSplitting) {
  std::vector<const char *> written = {"plain", "a b\tc\nd", "back\\slash", "it's",
                                       "say \"hi\"", "", "\v\f\r", "'\"\\ "};
  written.push_back(nullptr);
  char *buffer = nullptr;
  std::size_t size = 0;
  std::FILE *stream = open_memstream(&buffer, &size);
  ASSERT_EQ(write_arguments(const_cast<char *const *>(written.data()), stream), 0);
  std::fclose(stream);
  // Empty arguments are written as two double quotes; each line ends an
  // argument.
  EXPECT_EQ(std::string(buffer).substr(0, 6), "plain\n");
  EXPECT_NE(std::string(buffer).find("\n\"\"\n"), std::string::npos);
  args expected(written.begin(), written.end() - 1);
  EXPECT_EQ(split(buffer), expected);
  std::free(buffer);
}

TEST(WriteArguments, FailsWithoutAStreamOrWhenWritingFails) {
  char *argv[] = {const_cast<char *>("x"), nullptr};
  EXPECT_EQ(write_arguments(argv, nullptr), 1);
  std::FILE *full = std::fopen("/dev/full", "w");
  if (full) {
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(write_arguments(argv, full), 1);
    std::fclose(full);
  }
}

class ExpandTest : public ::testing::Test {
protected:
  std::string file(const char *name, const std::string &contents) {
    return scratch_.file(name, contents);
  }

  // Expand ARGS; the result and whether the vector was replaced.
  const char *expand(const args &in, args *out, bool *changed) {
    std::vector<char *> argv;
    for (const std::string &a : in)
      argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    int argc = static_cast<int>(in.size());
    char **vec = argv.data();
    const char *failure = expand_response_files(&argc, &vec);
    *changed = vec != argv.data();
    out->assign(vec, vec + argc);
    EXPECT_EQ(vec[argc], nullptr);
    if (*changed)
      free_arguments(vec);
    return failure;
  }

  scratch_dir scratch_;
  const std::string &dir_ = scratch_.root();
};

TEST_F(ExpandTest, FilesAreExpandedInPlaceNestedOrToNothing) {
  std::string inner = file("inner", "-c 'two words'\n");
  std::string outer = file("outer", "-O2 @" + inner + " -o out\n");
  std::string blank = file("blank", "\n\n  \t\n");
  std::string empty = file("empty", "");
  args result;
  bool changed;
  EXPECT_EQ(expand({"vrk", "a.c", "@" + outer, "@" + blank, "b.c", "@" + empty}, &result,
                   &changed),
            nullptr);
  EXPECT_TRUE(changed);
  EXPECT_EQ(result, (args{"vrk", "a.c", "-O2", "-c", "two words", "-o", "out", "b.c"}));
}

TEST_F(ExpandTest, UnusableNamesStayAndLeaveTheVectorAlone) {
  args result;
  bool changed;
  std::string missing = dir_ + "/missing";
  // The program name is never expanded, even when it names a file.
  std::string named = file("named", "x");
  EXPECT_EQ(expand({"@" + named, "@" + missing, "@"}, &result, &changed), nullptr);
  EXPECT_FALSE(changed);
  EXPECT_EQ(result, (args{"@" + named, "@" + missing, "@"}));
}

// The driver tests check a file that names itself and the messages.
TEST_F(ExpandTest, TheTwoThousandthAtArgumentIsAnError) {
  // "@" arguments naming no file count too: 1999 pass, 2000 do not.
  args result;
  bool changed;
  args many(1, "vrk");
  for (int i = 0; i < 1999; ++i)
    many.push_back("@" + dir_ + "/none");
  EXPECT_EQ(expand(many, &result, &changed), nullptr);
  EXPECT_FALSE(changed);
  many.push_back("@" + dir_ + "/none");
  EXPECT_EQ(expand(many, &result, &changed), too_many_response_files);
  // A directory is an error of its own.
  EXPECT_EQ(expand({"vrk", "@" + dir_}, &result, &changed), response_file_is_directory);
}

TEST_F(ExpandTest, UnreadableFileStays) {
  if (geteuid() == 0)
    GTEST_SKIP() << "permission bits do not bind the super-user";
  std::string locked = file("locked", "-x");
  chmod(locked.c_str(), 0);
  args result;
  bool changed;
  EXPECT_EQ(expand({"vrk", "@" + locked}, &result, &changed), nullptr);
  EXPECT_FALSE(changed);
  EXPECT_EQ(result, (args{"vrk", "@" + locked}));
}

} // namespace
