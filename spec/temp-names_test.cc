// Temporary and output names: the memo shared by all inputs, the unique
// letters, object suffixes, /dev/null, pipes, and -save-temps kept names.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "spec/spec-settings.h"
#include "spec/spec-test-support.h"
#include "support/text.h"

#if __has_include("options/option-values.inc")
#include "options/option-table.h"
#define HAVE_OPTION_VALUES 1
#endif

class temp_names_test : public spec_test {};

namespace {
bool ends_with(const std::string &s, const std::string &tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

TEST_F(temp_names_test, SharedNamesAreRememberedAcrossInputs) {
  std::string first = expand("%g.s")[0];
  set_current_input("other.c");
  std::string second = expand("%g.s")[0];
  EXPECT_EQ(first, second);
  EXPECT_TRUE(ends_with(first, ".s"));
}

TEST_F(temp_names_test, UniqueNamesAreFreshAndCapitalUReusesTheLast) {
  words w = expand("%u.o %u.o %U.o %g.o");
  ASSERT_EQ(w.size(), 4u);
  EXPECT_NE(w[0], w[1]);
  EXPECT_EQ(w[1], w[2]);
  EXPECT_NE(w[3], w[1]);  // another family
}

TEST_F(temp_names_test, ObjectSuffixAfterTheName) {
  words w = expand("%g%O %g.x%O");
  ASSERT_EQ(w.size(), 2u);
  EXPECT_TRUE(ends_with(w[0], ".o"));
  EXPECT_TRUE(ends_with(w[1], ".x.o"));
  EXPECT_EQ(expand("%g%O")[0], w[0]);
}

TEST_F(temp_names_test, CompareDebugSecondPassAddsGk) {
  compare_debug_mode = -1;
  EXPECT_TRUE(ends_with(expand("%g.s")[0], ".gk.s"));
}

TEST_F(temp_names_test, GeneratedNamesAreDeletedAtTheEnd) {
  std::string name = expand("%u.tmp")[0];
  EXPECT_EQ(access(name.c_str(), F_OK), 0);
  delete_end_files();
  EXPECT_NE(access(name.c_str(), F_OK), 0);
}

TEST_F(temp_names_test, DevNullForUnwantedOutputUnlessSavingTemps) {
  EXPECT_EQ(expand("-o %j"), (words{"-o", "/dev/null"}));
  save_temps_mode = keep_temps_auxdir;
  EXPECT_EQ(expand("-o %j.s"), (words{"-o", "foo.s"}));
}

TEST_F(temp_names_test, SaveTempsKeptNames) {
  save_temps_mode = keep_temps_auxdir;
  set_current_input("dir/foo.c");
  EXPECT_EQ(expand("%g.s %b.o %u.i%O"), (words{"foo.s", "foo.o", "foo.i.o"}));
  aux_dir = "out/";
  aux_dir_length = 4;
  EXPECT_EQ(expand("%g.s"), (words{"out/foo.s"}));
  // The kept name ends the argument: what follows is not part of it.
  EXPECT_EQ(expand("%g.s-X"), (words{"out/foo.s"}));
}

TEST_F(temp_names_test, SaveTempsWithoutStemDropsTheDot) {
  save_temps_mode = keep_temps_auxdir;
  input_base = nullptr;
  input_base_length = input_stem_length = 0;
  EXPECT_EQ(expand("%g.res"), (words{"res"}));
  aux_dir = "a.";
  aux_dir_length = 1;
  aux_dir_dash_added = true;
  EXPECT_EQ(expand("%g.res"), (words{"a.res"}));
}

TEST_F(temp_names_test, KeptNameThatIsTheInputFallsBackToATemporary) {
  save_temps_mode = keep_temps_auxdir;
  char dir_template[] = "/tmp/vrk-spec-XXXXXX";
  ASSERT_NE(mkdtemp(dir_template), nullptr);
  std::string input = std::string(dir_template) + "/foo.s";
  std::FILE *f = std::fopen(input.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  set_current_input(input.c_str());
  // Another spelling of the same directory: the file identity decides.
  aux_dir = concat(dir_template, "/./", nullptr);
  aux_dir_length = static_cast<int>(std::strlen(aux_dir));
  std::string name = expand("%g.s")[0];
  EXPECT_NE(name, input);
  EXPECT_TRUE(ends_with(name, ".s"));
  delete_end_files();
  EXPECT_EQ(access(input.c_str(), F_OK), 0);  // the input itself survives
  unlink(input.c_str());
  rmdir(dir_template);
}

#ifdef HAVE_OPTION_VALUES
TEST_F(temp_names_test, InvokeAsWithAndWithoutPipes) {
  global_options.x_use_pipes = 1;
  EXPECT_EQ(run_spec("kfront -o %|.s |\n as %m.s -o x.o"), 0);
  ASSERT_EQ(recorded_commands.size(), 1u);
  EXPECT_EQ(recorded_commands[0], (words{"kfront", "-o", "-", "|", "as", "-o", "x.o"}));

  global_options.x_use_pipes = 0;
  recorded_commands.clear();
  EXPECT_EQ(run_spec("kfront -o %|.s |\n as %m.s -o x.o"), 0);
  ASSERT_EQ(recorded_commands.size(), 2u);
  ASSERT_EQ(recorded_commands[0].size(), 3u);
  EXPECT_EQ(recorded_commands[1][1], recorded_commands[0][2]);
  EXPECT_TRUE(ends_with(recorded_commands[0][2], ".s"));
}
#endif
