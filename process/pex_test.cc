// The process-execution library over the real POSIX operations, with
// /bin/sh one-liners as the children, as the driver uses it: pipelines
// through pipes, output and error files.
#include "process/pex.h"
#include "process/pex-unix.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "process/live-children.h"
#include "support/scratch-dir-test-support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

int stage_err; // the error number of the last stage() call

// Start /bin/sh -c SCRIPT as a stage of PX; the failure text.
const char *stage(pex_pipeline *px, int flags, const char *script, const std::string &out = "",
                  const char *errname = nullptr) {
  char *argv[] = {const_cast<char *>("sh"), const_cast<char *>("-c"),
                  const_cast<char *>(script), nullptr};
  stage_err = -1;
  return pex_run_stage(px, flags, "/bin/sh", argv, out.empty() ? nullptr : out.c_str(), errname,
                       &stage_err);
}

// Run SCRIPT alone; the failure text (null on success).
const char *run_once(const char *script, int flags, const std::string &out,
                     const std::string &err = "") {
  char *argv[] = {const_cast<char *>("sh"), const_cast<char *>("-c"),
                  const_cast<char *>(script), nullptr};
  int status, errnum;
  return pex_run_once(PEX_LAST_STAGE | flags, "/bin/sh", argv, "test",
                      out.empty() ? nullptr : out.c_str(), err.empty() ? nullptr : err.c_str(),
                      &status, &errnum);
}

// Exit codes of raw wait statuses (-1 for anything but a normal exit).
std::vector<int> exit_codes(const int *statuses, int count) {
  std::vector<int> codes;
  for (int i = 0; i < count; ++i)
    codes.push_back(WIFEXITED(statuses[i]) ? WEXITSTATUS(statuses[i]) : -1);
  return codes;
}

TEST(Pex, OutputAndErrorFilesAreCreatedTruncatedOrAppendedTo) {
  scratch_dir scratch;
  mode_t old_mask = umask(022);
  std::string out = scratch.path("out"), err = scratch.path("err");
  const char *both = "echo out; echo err >&2";
  ASSERT_EQ(run_once(both, 0, out, err), nullptr);
  struct stat st;
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ASSERT_EQ(run_once(both, PEX_APPEND_STDOUT, out, err), nullptr);
  EXPECT_EQ(slurp(out) + slurp(err), "out\nout\nerr\n");
  ASSERT_EQ(run_once(both, PEX_APPEND_STDERR, out, err), nullptr);
  EXPECT_EQ(slurp(out) + slurp(err), "out\nerr\nerr\n");
  umask(old_mask);
}

TEST(Pex, PipelineThroughPipesWithEveryStagesStatusAndTimes) {
  scratch_dir scratch;
  std::string out = scratch.path("sorted");
  pex_pipeline *px = pex_create(PEX_WITH_PIPES | PEX_WITH_TIMES, "test", nullptr);
  ASSERT_EQ(stage(px, 0, "printf 'b\\nc\\na\\n'; exit 3"), nullptr);
  ASSERT_EQ(stage(px, 0, "sort"), nullptr);
  ASSERT_EQ(stage(px, PEX_LAST_STAGE, "tr a-z A-Z; exit 5", out), nullptr);
  // Entries beyond the children are cleared.
  int statuses[5] = {-1, -1, -1, -1, -1};
  ASSERT_EQ(pex_get_status(px, 5, statuses), 1);
  EXPECT_EQ(exit_codes(statuses, 5), (std::vector<int>{3, 0, 5, 0, 0}));
  EXPECT_EQ(statuses[4], 0);
  pex_times times[4];
  std::memset(times, 0xff, sizeof times);
  EXPECT_EQ(pex_collect_times(px, 4, times), 1);
  EXPECT_GE(times[0].user_sec, 0);
  EXPECT_EQ(times[3].user_sec, 0);
  EXPECT_EQ(times[3].sys_usec, 0);
  pex_destroy(px);
  EXPECT_EQ(slurp(out), "A\nB\nC\n");

  // Times are only there when asked for.
  px = pex_create(0, "test", nullptr);
  EXPECT_EQ(pex_collect_times(px, 1, times), 0);
  pex_destroy(px);
}

TEST(Pex, FailedExecIsReportedByTheParentOrElseByTheChild) {
  char *args[] = {const_cast<char *>("vrk-no-such-program-here"), nullptr};
  int status = -1, err_path = 0, err_direct = 0;
  CaptureStderr();
  const char *failure_path =
      pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH, "vrk-no-such-program-here", args, "test",
                   nullptr, nullptr, &status, &err_path);
  const char *failure_direct = pex_run_once(PEX_LAST_STAGE, "/nonexistent/vrk-prog", args,
                                            "test", nullptr, nullptr, &status, &err_direct);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_STREQ(failure_path, "execvp");
  EXPECT_EQ(err_path, ENOENT);
  EXPECT_STREQ(failure_direct, "execv");
  EXPECT_EQ(err_direct, ENOENT);
  // The failed child was reaped: nothing is left to wait for.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  // With no descriptor left for the report pipe the parent believes the
  // start succeeded; the child says why it failed and ends with status -1.
  CaptureStderr();
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  int lowest_free = dup(0);
  close(lowest_free);
  struct rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowest_free);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  const char *failure = pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH,
                                     "vrk-no-such-program-here", args, "prog", nullptr, nullptr,
                                     &status, &err_path);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(GetCapturedStderr(),
            std::string("prog: error trying to exec 'vrk-no-such-program-here': execvp: ") +
                std::strerror(ENOENT) + "\n");
  EXPECT_EQ(failure, nullptr);
  EXPECT_EQ(exit_codes(&status, 1), std::vector<int>{255});
}

TEST(Pex, FailuresBeforeStartingAreReportedWithTheirErrorNumber) {
  scratch_dir scratch;
  std::string missing = scratch.path("no-such-dir/x");
  for (bool output : {true, false}) {
    pex_pipeline *px = pex_create(PEX_WITH_PIPES, "test", nullptr);
    EXPECT_STREQ(stage(px, PEX_LAST_STAGE, "echo x", output ? missing : "",
                       output ? nullptr : missing.c_str()),
                 output ? "open temporary output file" : "open error file");
    EXPECT_EQ(stage_err, ENOENT);
    pex_destroy(px);
  }
}

// The real operations, with the waits watched, or made to fail.
struct watched_wait {
  bool fail = false;
  int count = 0;
  bool done = false;
  int status = 0;
};
watched_wait last_wait;

int watching_wait_child(pex_pipeline *obj, pid_t pid, int *status, pex_times *time, bool done,
                        const char **errmsg, int *err) {
  ++last_wait.count;
  last_wait.done = done;
  // A child that was not told to stop would keep the wait from returning.
  if (!done)
    kill(pid, SIGKILL);
  int result = pex_unix_ops.wait_child(obj, pid, status, time, done, errmsg, err);
  last_wait.status = *status;
  if (!last_wait.fail)
    return result;
  *errmsg = "wait";
  *err = ECHILD;
  errno = 0;
  return -1;
}

TEST(Pex, DestroyTerminatesChildrenNotWaitedFor) {
  pex_system_ops ops = pex_unix_ops;
  ops.wait_child = watching_wait_child;
  // One stage alone, and a pipeline whose first stage ends by itself.
  for (bool two_stages : {false, true}) {
    last_wait = {};
    pex_pipeline *px = pex_create_with_ops(PEX_WITH_PIPES | PEX_WITH_TIMES, "test", nullptr, &ops);
    if (two_stages)
      ASSERT_EQ(stage(px, 0, "echo x"), nullptr);
    ASSERT_EQ(stage(px, PEX_LAST_STAGE, "exec sleep 300"), nullptr);
    pid_t child = px->children[px->count - 1];
    pex_destroy(px);
    EXPECT_EQ(last_wait.count, two_stages ? 2 : 1);
    EXPECT_TRUE(last_wait.done);
    ASSERT_TRUE(WIFSIGNALED(last_wait.status));
    EXPECT_EQ(WTERMSIG(last_wait.status), SIGTERM);
    // Reaped: the process id is gone.
    EXPECT_EQ(kill(child, 0), -1);
    EXPECT_EQ(errno, ESRCH);
  }

  // A failed wait leaves its error number for the caller, who words "%m"
  // from errno.
  last_wait = {true};
  pex_pipeline *px = pex_create_with_ops(PEX_WITH_PIPES, "test", nullptr, &ops);
  int status;
  ASSERT_EQ(stage(px, PEX_LAST_STAGE, "true"), nullptr);
  EXPECT_EQ(pex_get_status(px, 1, &status), 0);
  EXPECT_EQ(errno, ECHILD);
  pex_destroy(px);
}

TEST(Pex, LiveChildrenAreStoppedByTheSignalAndReaped) {
  // What the driver's fatal-signal handler does while a pipeline runs: the
  // children get the signal and are reaped before the handler goes on.
  pex_pipeline *px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  ASSERT_EQ(stage(px, 0, "exec sleep 300"), nullptr);
  ASSERT_EQ(stage(px, PEX_LAST_STAGE, "exec sleep 300"), nullptr);
  std::vector<pid_t> children(px->children, px->children + px->count);
  stop_live_children(SIGTERM);
  for (pid_t child : children) {
    EXPECT_EQ(kill(child, 0), -1);
    EXPECT_EQ(errno, ESRCH);
  }
  pex_destroy(px);

  // Children that were waited for are no longer live: nothing is signalled
  // (a stray SIGKILL would end this test).
  px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  int status;
  ASSERT_EQ(stage(px, PEX_LAST_STAGE, "exit 3"), nullptr);
  ASSERT_EQ(pex_get_status(px, 1, &status), 1);
  EXPECT_EQ(WEXITSTATUS(status), 3);
  pex_destroy(px);
  stop_live_children(SIGKILL);
}

} // namespace
