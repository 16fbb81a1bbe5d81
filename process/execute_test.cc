// Command execution: the word quoting of the -### listing and the -time=
// report, the -wrapper split, and the parts of the -freport-bug procedure
// that the driver's own command lines never reach.  Listings, statuses,
// signals, timing and reproduction end to end are covered by the driver
// tests (exec-*.test, report-bug.test).
#include "process/execute.h"

#include <unistd.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "process/prefixes.h"
#include "process/report-bug.h"
#include "support/scratch-dir-test-support.h"

namespace {

TEST(ExecuteWords, DryRunAndTimingQuoting) {
  struct {
    const char *word, *dry_run, *timing;
  } cases[] = {
      {"/usr/bin/kfront-1.2_x", "/usr/bin/kfront-1.2_x", "/usr/bin/kfront-1.2_x"},
      {"a b", "\"a b\"", "\"a b\""},
      {"say\"hi\"", "\"say\\\"hi\\\"\"", "\"say\\\"hi\\\"\""},
      {"$HOME", "\"\\$HOME\"", "\"\\$HOME\""},
      {"a\\b", "\"a\\\\b\"", "\"a\\\\b\""},
      {"", "\"\"", ""},
      // Characters outside the plain set are quoted in the listing only.
      {"-DX=1", "\"-DX=1\"", "-DX=1"},
      {"it's", "\"it's\"", "it's"},
      {"tab\there", "\"tab\there\"", "\"tab\there\""},
      {"\xc3\xa9", "\"\xc3\xa9\"", "\xc3\xa9"},
  };
  for (const auto &c : cases) {
    std::string dry, timing;
    append_dry_run_word(dry, c.word);
    append_timing_word(timing, c.word);
    EXPECT_EQ(dry, c.dry_run) << c.word;
    EXPECT_EQ(timing, c.timing) << c.word;
  }
}

TEST(ExecuteWords, WrapperSplitting) {
  using words = std::vector<std::string>;
  EXPECT_EQ(split_wrapper_words("gdb,--args"), (words{"gdb", "--args"}));
  EXPECT_EQ(split_wrapper_words(",gdb,,,--args"), (words{"gdb", "--args"}));
  EXPECT_EQ(split_wrapper_words("gdb,--args,"), (words{"gdb", "--args", ""}));
  EXPECT_EQ(split_wrapper_words(""), (words{""}));
  EXPECT_EQ(split_wrapper_words(",,"), (words{""}));
}

// A compiler proper that crashes with status 4 and counts its runs.
class ReportBugTest : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    // Programs are found only in the scratch directory.
    free_prefix_list(&exec_prefixes);
    add_search_prefix(&exec_prefixes, (scratch_.root() + "/").c_str(), "VRK",
                      PREFIX_PRIORITY_LAST, 0, 0);
    ctx_.program_name = "vrk++";
    ctx_.report_bug = true;
    ctx_.worst_exit_status = &worst_;
  }
  void TearDown() override { free_prefix_list(&exec_prefixes); }

  int runs() const { return std::atoi(slurp(scratch_.path("count")).c_str()); }

  // Runs WORDS; what the children wrote on standard error.
  std::string run(const std::vector<const char *> &words) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(execute(words, ctx_), -1);
    return testing::internal::GetCapturedStderr();
  }

  scratch_dir scratch_;
  execute_context ctx_;
  int worst_ = 1;
};

TEST_F(ReportBugTest, CommandsThatCannotBeRerunAreLeftAlone) {
  std::string count = scratch_.path("count");
  scratch_.script("kfront", "n=$(cat '" + count + "' 2>/dev/null || echo 0); echo $((n+1)) > '" +
                                count + "'\necho 'internal compiler error: boom' >&2\nexit 4");
  struct {
    std::vector<const char *> words;
    const char *input;
  } cases[] = {
      {{"kfront", "t.c", "-o", "t.s"}, "t.c"},                         // no -quiet
      {{"kfront", "-quiet", "t.c", "-o", "t.s", "-oo"}, "t.c"},        // two outputs
      {{"kfront", "-quiet", "t.c"}, "t.c"},                            // no output
      {{"kfront", "-quiet", "-ftime-report", "t.c", "-ot.s"}, "t.c"},  // timing output
      {{"kfront", "-quiet", "t.c", "-ot.s"}, "-"},                     // standard input
      {{"kfront", "-quiet", "t.c", "-ot.s"}, nullptr},
      {{"kfront", "-quiet", "t.c", "-o"}, "t.c"},  // no name after -o
  };
  int expected_runs = 0;
  for (const auto &c : cases) {
    ctx_.current_input = c.input;
    EXPECT_EQ(run(c.words), "internal compiler error: boom\n") << c.words.size();
    EXPECT_EQ(runs(), ++expected_runs);
  }
  EXPECT_EQ(worst_, 4);
}

TEST(ReportBugFiles, IdenticalFilesCompareBySizeAndContent) {
  scratch_dir scratch;
  std::string big(10000, 'x');
  std::string a = scratch.file("a", big), b = scratch.file("b", big);
  EXPECT_TRUE(files_identical(a.c_str(), b.c_str()));
  // A difference in the last block, then in the size alone.
  scratch.file("b", big.substr(0, 9999) + "y");
  EXPECT_FALSE(files_identical(a.c_str(), b.c_str()));
  scratch.file("b", big.substr(0, 9999));
  EXPECT_FALSE(files_identical(a.c_str(), b.c_str()));
  EXPECT_FALSE(files_identical(a.c_str(), scratch.path("missing").c_str()));
}

}  // namespace
