// Command execution: the word quoting of the -### listing and the -time=
// report, the -wrapper split, and the parts of the -freport-bug procedure
// that the driver's own command lines never reach.  Listings, statuses,
// signals, timing and reproduction end to end are covered by the driver
// tests (exec-echo.test, exec-status.test, report-bug.test).
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
      {"say\"hi\"", "\"say\\\"hi\\\"\"", "\"say\\\"hi\\\"\""},
      {"a\\b", "\"a\\\\b\"", "\"a\\\\b\""},
      {"", "\"\"", ""},
      // Characters outside the plain set are quoted in the listing only
      // (the driver tests check blanks, "$", "=" and bare words).
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
  // The driver tests check the pieces of gdb,--args with empty ones.
  EXPECT_EQ(split_wrapper_words(""), (words{""}));
  EXPECT_EQ(split_wrapper_words(",,"), (words{""}));
}

TEST(ReportBug, CommandsThatCannotBeRerunAreLeftAlone) {
  diagnostic_initialize("vrk++");
  // A compiler proper, found only in the scratch directory, that crashes
  // with status 4 and counts its runs.
  scratch_dir scratch;
  std::string count = scratch.path("count");
  scratch.script("kfront", "n=$(cat '" + count + "' 2>/dev/null || echo 0); echo $((n+1)) > '" +
                               count + "'\necho 'internal compiler error: boom' >&2\nexit 4");
  search_paths paths;
  paths.add_search_prefix(paths.exec_prefixes, (scratch.root() + "/").c_str(), "VRK",
                          PREFIX_PRIORITY_LAST, 0, 0);
  int worst = 1;
  execute_context ctx;
  ctx.program_name = "vrk++";
  ctx.report_bug = true;
  ctx.worst_exit_status = &worst;
  ctx.programs = &paths;
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
    ctx.current_input = c.input;
    testing::internal::CaptureStderr();
    EXPECT_EQ(execute(c.words, ctx), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "internal compiler error: boom\n")
        << c.words.size();
    EXPECT_EQ(std::atoi(slurp(count).c_str()), ++expected_runs);
  }
  EXPECT_EQ(worst, 4);
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
