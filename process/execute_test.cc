// Command execution with /bin/sh one-liners and small scripts standing in
// for the toolchain programs: listings, -wrapper, pipelines, statuses and
// signals, -time reports and the -freport-bug reproduction procedure.
#include "process/execute.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/pretty-print.h"
#include "process/prefixes.h"
#include "process/report-bug.h"

namespace {

std::string slurp(const std::string &name) {
  std::ifstream in(name);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool exists(const std::string &name) { return access(name.c_str(), F_OK) == 0; }

void test_banner(std::FILE *stream) { std::fputs("Target: test-banner\n", stream); }

class ExecuteTest : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    open_quote = close_quote = "'";
    char templ[] = "/tmp/vrk-exec-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    // Programs are found only in this test's directory.
    free_prefix_list(&exec_prefixes);
    add_search_prefix(&exec_prefixes, (dir_ + "/").c_str(), "VRK", PREFIX_PRIORITY_LAST, 0, 0);
    ctx_.program_name = "vrk++";
    ctx_.worst_exit_status = &worst_;
    ctx_.signalled_children = &signalled_;
    ctx_.executed_group_count = &groups_;
  }
  void TearDown() override {
    free_prefix_list(&exec_prefixes);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  std::string path(const char *name) const { return dir_ + "/" + name; }

  // An executable script NAME in the test directory.
  std::string script(const char *name, const std::string &body) {
    std::string p = path(name);
    std::ofstream(p) << "#!/bin/sh\n" << body;
    chmod(p.c_str(), 0755);
    return p;
  }

  // Run execute, returning what it (and its children) wrote on standard
  // error.
  std::string run(const std::vector<const char *> &words, int *result = nullptr) {
    testing::internal::CaptureStderr();
    int r = execute(words, ctx_);
    std::string err = testing::internal::GetCapturedStderr();
    if (result)
      *result = r;
    return err;
  }

  std::string dir_;
  execute_context ctx_;
  int worst_ = 1;
  int signalled_ = 0;
  int groups_ = 0;
};

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
  EXPECT_EQ(split_wrapper_words("valgrind"), (words{"valgrind"}));
}

TEST_F(ExecuteTest, DryRunListsQuotedWordsAndRunsNothing) {
  std::string kfront = script("kfront", "touch '" + path("ran") + "'\n");
  ctx_.verbose = ctx_.dry_run = true;
  int result = -2;
  std::string err = run({"kfront", "-o", "a b", "$x", "q\"", "b\\s", "", "|", "cat"}, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(err, " " + kfront + " -o \"a b\" \"\\$x\" \"q\\\"\" \"b\\\\s\" \"\" |\n cat\n");
  EXPECT_EQ(groups_, 1);
  EXPECT_FALSE(exists(path("ran")));

  // --help puts an empty line in front of the listing.
  ctx_.help_requested = true;
  EXPECT_EQ(run({"cat", "x"}), "\n cat x\n");
  EXPECT_EQ(groups_, 2);
}

TEST_F(ExecuteTest, VerbosePipelineEchoesPlainWordsAndConnectsStages) {
  ctx_.verbose = true;
  std::string out = path("out");
  std::string cat = "cat > '" + out + "'";
  int result = -2;
  std::string err = run({"sh", "-c", "echo 'piped $text'", "|", "sh", "-c", cat.c_str(), ""},
                        &result);
  EXPECT_EQ(result, 0);
  // Plain -v writes words unchanged except the empty one.
  EXPECT_EQ(err, " sh -c echo 'piped $text' |\n sh -c " + cat + " \"\"\n");
  EXPECT_EQ(slurp(out), "piped $text\n");
  EXPECT_EQ(groups_, 1);
  EXPECT_EQ(worst_, 1);
}

TEST_F(ExecuteTest, WrapperRunsInFrontOfTheResolvedProgram) {
  std::string kfront = script("kfront", "exit 0\n");
  std::string out = path("args");
  std::string show = "printf '[%s]' \"$0\" \"$@\" > '" + out + "'";
  std::string wrapper = "sh,-c," + show;
  ctx_.wrapper = wrapper.c_str();
  int result = -2;
  EXPECT_EQ(run({"kfront", "-x"}, &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(slurp(out), "[" + kfront + "][-x]");

  // A trailing comma hands the wrapper an empty word before the program.
  wrapper += ",";
  ctx_.wrapper = wrapper.c_str();
  ctx_.verbose = true;
  std::string err = run({"kfront", "-x"}, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(slurp(out), "[][" + kfront + "][-x]");
  EXPECT_EQ(err, " sh -c " + show + " \"\" " + kfront + " -x\n");
}

TEST_F(ExecuteTest, ExitStatusesRaiseTheWorstStatus) {
  int result = 0;
  EXPECT_EQ(run({"sh", "-c", "exit 3"}, &result), "");
  EXPECT_EQ(result, -1);
  EXPECT_EQ(worst_, 3);
  run({"sh", "-c", "exit 2"}, &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(worst_, 3);
  // The failure of either stage of a pipeline fails the group.
  run({"sh", "-c", "exit 0", "|", "sh", "-c", "exit 5"}, &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(worst_, 5);
  EXPECT_EQ(signalled_, 0);
  EXPECT_EQ(groups_, 3);
}

TEST_F(ExecuteTest, BrokenPipeIsCountedWithoutMessage) {
  int result = 0;
  EXPECT_EQ(run({"sh", "-c", "kill -PIPE $$"}, &result), "");
  EXPECT_EQ(result, -1);
  EXPECT_EQ(signalled_, 1);
  EXPECT_EQ(worst_, 1);
}

TEST_F(ExecuteTest, FatalSignalsAndUnstartablePrograms) {
  EXPECT_EXIT(execute({"sh", "-c", "kill -KILL $$"}, ctx_), testing::ExitedWithCode(1),
              "vrk\\+\\+: fatal error: .* signal terminated program sh");
  EXPECT_EXIT(execute({"sh", "-c", "kill -TERM $$"}, ctx_), testing::ExitedWithCode(1),
              "signal terminated program sh");
  // Any other signal is an internal error of the driver.
  EXPECT_EXIT(execute({"sh", "-c", "exit 0", "|", "sh", "-c", "kill -SEGV $$"}, ctx_),
              testing::ExitedWithCode(4), "internal compiler error: .* signal terminated program sh");
  EXPECT_EXIT(execute({"/nonexistent/kfront", "-quiet"}, ctx_), testing::ExitedWithCode(1),
              "fatal error: cannot execute '/nonexistent/kfront': execvp: No such file");
}

TEST_F(ExecuteTest, TimeReports) {
  // Enough shell work to register processor time.
  const char *busy = "i=0; while [ $i -lt 300000 ]; do i=$((i+1)); done";
  std::string report = path("times");
  ctx_.report_times = true;
  ctx_.timing_report_file = std::fopen(report.c_str(), "a");
  ASSERT_NE(ctx_.timing_report_file, nullptr);
  std::string err = run({"sh", "-c", busy});
  std::fclose(ctx_.timing_report_file);
  EXPECT_TRUE(std::regex_match(err, std::regex("# sh [0-9]+\\.[0-9]{2} [0-9]+\\.[0-9]{2}\n")))
      << err;
  std::string line = slurp(report);
  std::string tail = " sh -c \"i=0; while [ \\$i -lt 300000 ]; do i=\\$((i+1)); done\"\n";
  ASSERT_GT(line.size(), tail.size());
  EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
  EXPECT_TRUE(std::regex_match(line.substr(0, line.size() - tail.size()),
                               std::regex("[0-9.e+-]+ [0-9.e+-]+")))
      << line;
}

// A compiler proper that crashes with status 4 unless asked to preprocess;
// CRASHES limits how many runs crash (0: all).
class ReportBugTest : public ExecuteTest {
protected:
  std::string make_compiler(int crashes) {
    std::string count = path("count");
    std::string body = "n=$(cat '" + count + "' 2>/dev/null || echo 0); n=$((n+1)); echo $n > '" +
                       count +
                       "'\n"
                       "for a in \"$@\"; do [ \"$a\" = -E ] && { echo 'int preprocessed;'; exit 0; }; "
                       "done\n";
    if (crashes)
      body += "[ $n -gt " + std::to_string(crashes) + " ] && exit 0\n";
    body += "echo 'internal compiler error: boom' >&2\nexit 4\n";
    return script("kfront", body);
  }
  int runs() { return std::atoi(slurp(path("count")).c_str()); }

  void SetUp() override {
    ExecuteTest::SetUp();
    ctx_.report_bug = true;
    ctx_.current_input = "t.c";
    ctx_.print_version_banner = test_banner;
  }
};

TEST_F(ReportBugTest, ReproducibleCrashKeepsPreprocessedSource) {
  std::string kfront = make_compiler(0);
  int result = 0;
  std::string err = run({"kfront", "-quiet", "t.c", "-o", "t.s"}, &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(worst_, 4);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      err, m,
      std::regex("Preprocessed source stored into (.*\\.out) file, please attach this to your "
                 "bugreport\\.\n")))
      << err;
  std::string kept = m[1];
  // The original run, three attempts and the preprocessing run.
  EXPECT_EQ(runs(), 5);
  EXPECT_EQ(slurp(kept), "// Target: test-banner\n"
                         "// \n"
                         "// internal compiler error: boom\n"
                         "\n// " +
                             kfront +
                             " -quiet t.c -o - -frandom-seed=0 -fdump-noaddr\n\n"
                             "int preprocessed;\n");
  unlink(kept.c_str());
}

TEST_F(ReportBugTest, CrashThatDoesNotRepeatIsReported) {
  make_compiler(2);
  int result = 0;
  std::string err = run({"kfront", "-quiet", "t.c", "-ot.s"}, &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(err, "internal compiler error: boom\n"
                 "The bug is not reproducible, so it is likely a hardware or OS problem.\n");
  EXPECT_EQ(runs(), 3);
}

TEST_F(ReportBugTest, CommandsThatCannotBeRerunAreLeftAlone) {
  make_compiler(0);
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
  // Only a compiler proper (a program called kfront...) is rerun.
  script("other", "exit 4\n");
  ctx_.current_input = "t.c";
  EXPECT_EQ(run({"other", "-quiet", "-ot.s"}), "");
  EXPECT_EQ(worst_, 4);
}

TEST(ReportBugFiles, IdenticalFilesCompareBySizeAndContent) {
  char a[] = "/tmp/vrk-cmp-XXXXXX", b[] = "/tmp/vrk-cmp-XXXXXX";
  int fa = mkstemp(a), fb = mkstemp(b);
  ASSERT_GE(fa, 0);
  ASSERT_GE(fb, 0);
  std::string big(10000, 'x');
  ASSERT_EQ(write(fa, big.data(), big.size()), static_cast<ssize_t>(big.size()));
  ASSERT_EQ(write(fb, big.data(), big.size()), static_cast<ssize_t>(big.size()));
  EXPECT_TRUE(files_identical(a, b));
  // A difference in the last block.
  ASSERT_EQ(pwrite(fb, "y", 1, 9999), 1);
  EXPECT_FALSE(files_identical(a, b));
  ASSERT_EQ(ftruncate(fb, 9999), 0);
  EXPECT_FALSE(files_identical(a, b));
  EXPECT_FALSE(files_identical(a, "/nonexistent/file"));
  close(fa);
  close(fb);
  unlink(a);
  unlink(b);
}

}  // namespace
