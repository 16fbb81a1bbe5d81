// The process-execution library over the real POSIX operations, with
// /bin/sh one-liners as the children.
#include "process/pex.h"
#include "process/pex-unix.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class PexTest : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/vrk-pex-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  std::string path(const char *name) const { return dir_ + "/" + name; }

  static std::string slurp(const std::string &name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::set<std::string> entries() const {
    std::set<std::string> names;
    DIR *d = opendir(dir_.c_str());
    while (dirent *e = readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
        names.insert(e->d_name);
    closedir(d);
    return names;
  }

  std::string dir_;
};

// A null-terminated argument vector for /bin/sh -c SCRIPT.
struct sh_argv {
  explicit sh_argv(const char *script) : script_(script) {}
  char *const *get() {
    args_ = {const_cast<char *>("sh"), const_cast<char *>("-c"),
             const_cast<char *>(script_.c_str()), nullptr};
    return args_.data();
  }
  std::string script_;
  std::vector<char *> args_;
};

// Standard error of this process goes to a file while alive.
class capture_stderr {
public:
  explicit capture_stderr(const std::string &file) : file_(file) {
    std::fflush(stderr);
    saved_ = dup(2);
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    close(fd);
  }
  ~capture_stderr() { restore(); }
  void restore() {
    if (saved_ >= 0) {
      dup2(saved_, 2);
      close(saved_);
      saved_ = -1;
    }
  }

private:
  std::string file_;
  int saved_ = -1;
};

TEST_F(PexTest, OutputFileIsCreatedWithModeAndAppendedTo) {
  mode_t old_mask = umask(022);
  std::string out = path("out");
  sh_argv echo("echo hello");
  int status = -1, err = -1;
  EXPECT_EQ(pex_run_once(PEX_LAST_STAGE, "/bin/sh", echo.get(), "test", out.c_str(), nullptr,
                         &status, &err),
            nullptr);
  EXPECT_EQ(status, 0);
  struct stat st;
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);

  EXPECT_EQ(pex_run_once(PEX_LAST_STAGE | PEX_APPEND_STDOUT, "/bin/sh", echo.get(), "test",
                         out.c_str(), nullptr, &status, &err),
            nullptr);
  EXPECT_EQ(slurp(out), "hello\nhello\n");
  // Without the append flag the file is truncated.
  EXPECT_EQ(pex_run_once(PEX_LAST_STAGE, "/bin/sh", echo.get(), "test", out.c_str(), nullptr,
                         &status, &err),
            nullptr);
  EXPECT_EQ(slurp(out), "hello\n");
  umask(old_mask);
}

TEST_F(PexTest, ErrorFileAppendAndMergedStandardError) {
  std::string errfile = path("err");
  sh_argv both("echo out; echo err >&2");
  int status, err;
  std::string out = path("out");
  ASSERT_EQ(pex_run_once(PEX_LAST_STAGE, "/bin/sh", both.get(), "test", out.c_str(),
                         errfile.c_str(), &status, &err),
            nullptr);
  ASSERT_EQ(pex_run_once(PEX_LAST_STAGE | PEX_APPEND_STDERR, "/bin/sh", both.get(), "test",
                         out.c_str(), errfile.c_str(), &status, &err),
            nullptr);
  EXPECT_EQ(slurp(out), "out\n");
  EXPECT_EQ(slurp(errfile), "err\nerr\n");

  std::string merged = path("merged");
  ASSERT_EQ(pex_run_once(PEX_LAST_STAGE | PEX_MERGE_STDERR, "/bin/sh", both.get(), "test",
                         merged.c_str(), nullptr, &status, &err),
            nullptr);
  EXPECT_EQ(slurp(merged), "out\nerr\n");
}

TEST_F(PexTest, ExitStatusesOfEveryStageInOrder) {
  pex_pipeline *px = pex_create(PEX_WITH_PIPES | PEX_WITH_TIMES, "test", nullptr);
  sh_argv first("echo x; exit 3");
  sh_argv last("cat >/dev/null; exit 5");
  int err;
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", first.get(), nullptr, nullptr, &err), nullptr);
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", last.get(), nullptr, nullptr, &err),
            nullptr);
  int statuses[4] = {-1, -1, -1, -1};
  ASSERT_EQ(pex_get_status(px, 4, statuses), 1);
  ASSERT_TRUE(WIFEXITED(statuses[0]));
  EXPECT_EQ(WEXITSTATUS(statuses[0]), 3);
  EXPECT_EQ(WEXITSTATUS(statuses[1]), 5);
  // Entries beyond the children are cleared.
  EXPECT_EQ(statuses[2], 0);
  EXPECT_EQ(statuses[3], 0);
  pex_times times[3];
  std::memset(times, 0xff, sizeof times);
  EXPECT_EQ(pex_collect_times(px, 3, times), 1);
  EXPECT_GE(times[0].user_sec, 0);
  EXPECT_EQ(times[2].user_sec, 0);
  EXPECT_EQ(times[2].sys_usec, 0);
  pex_destroy(px);

  // Times are only there when asked for.
  px = pex_create(0, "test", nullptr);
  EXPECT_EQ(pex_collect_times(px, 1, times), 0);
  pex_destroy(px);
}

TEST_F(PexTest, PipelineThroughPipes) {
  std::string out = path("sorted");
  pex_pipeline *px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  sh_argv produce("printf 'b\\nc\\na\\n'");
  sh_argv sort("sort");
  sh_argv upper("tr a-z A-Z");
  int err;
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", produce.get(), nullptr, nullptr, &err), nullptr);
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", sort.get(), nullptr, nullptr, &err), nullptr);
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", upper.get(), out.c_str(), nullptr,
                          &err),
            nullptr);
  int statuses[3];
  ASSERT_EQ(pex_get_status(px, 3, statuses), 1);
  for (int s : statuses)
    EXPECT_EQ(s, 0);
  pex_destroy(px);
  EXPECT_EQ(slurp(out), "A\nB\nC\n");
  EXPECT_EQ(entries(), std::set<std::string>{"sorted"});
}

TEST_F(PexTest, PipelineThroughTemporaryFilesLeavesNoneBehind) {
  std::string base = path("base.");
  std::string out = path("result");
  sh_argv produce("echo abc");
  sh_argv upper("tr a-z A-Z");
  int err;

  pex_pipeline *px = pex_create(0, "test", base.c_str());
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", produce.get(), nullptr, nullptr, &err), nullptr);
  // The intermediate file exists while the pipeline lives.
  EXPECT_EQ(entries().size(), 1u);
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", upper.get(), out.c_str(), nullptr,
                          &err),
            nullptr);
  int statuses[2];
  ASSERT_EQ(pex_get_status(px, 2, statuses), 1);
  pex_destroy(px);
  EXPECT_EQ(slurp(out), "ABC\n");
  EXPECT_EQ(entries(), std::set<std::string>{"result"});

  // With PEX_KEEP_TEMPS the intermediate file, named after the base, stays;
  // a suffix name is appended to the base.
  px = pex_create(PEX_KEEP_TEMPS, "test", base.c_str());
  ASSERT_EQ(pex_run_stage(px, PEX_NAME_IS_SUFFIX, "/bin/sh", produce.get(), "mid", nullptr,
                          &err),
            nullptr);
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", upper.get(), out.c_str(), nullptr,
                          &err),
            nullptr);
  ASSERT_EQ(pex_get_status(px, 2, statuses), 1);
  pex_destroy(px);
  EXPECT_EQ(slurp(path("base.mid")), "abc\n");
}

TEST_F(PexTest, MissingProgramFailsInTheParentAndPrintsNothing) {
  std::string errfile = path("stderr");
  char *args[] = {const_cast<char *>("vrk-no-such-program-here"), nullptr};
  int status, err = 0;
  const char *failure_path, *failure_direct;
  int err_path, err_direct;
  {
    capture_stderr capture(errfile);
    failure_path = pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH, "vrk-no-such-program-here",
                                args, "test", nullptr, nullptr, &status, &err);
    err_path = err;
    failure_direct = pex_run_once(PEX_LAST_STAGE, "/nonexistent/vrk-prog", args, "test",
                                  nullptr, nullptr, &status, &err);
    err_direct = err;
  }
  ASSERT_NE(failure_path, nullptr);
  EXPECT_STREQ(failure_path, "execvp");
  EXPECT_EQ(err_path, ENOENT);
  ASSERT_NE(failure_direct, nullptr);
  EXPECT_STREQ(failure_direct, "execv");
  EXPECT_EQ(err_direct, ENOENT);
  EXPECT_EQ(slurp(errfile), "");
  // The failed child was reaped: nothing is left to wait for.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(PexTest, ChildReportsItselfWhenNoReportPipeCanBeMade) {
  std::string errfile = path("stderr");
  char *args[] = {const_cast<char *>("vrk-no-such-program-here"), nullptr};
  int status = -1, err = -1;
  const char *failure;
  {
    capture_stderr capture(errfile);
    // No descriptor left for the report pipe.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    int lowest_free = dup(0);
    close(lowest_free);
    struct rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowest_free);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    failure = pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH, "vrk-no-such-program-here", args,
                           "prog", nullptr, nullptr, &status, &err);
    setrlimit(RLIMIT_NOFILE, &saved);
  }
  // The parent believes the start succeeded; the child said why it failed
  // and ended with status -1.
  EXPECT_EQ(failure, nullptr);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
  EXPECT_EQ(slurp(errfile), std::string("prog: error trying to exec 'vrk-no-such-program-here': "
                                        "execvp: ") +
                                std::strerror(ENOENT) + "\n");
}

TEST_F(PexTest, FailuresBeforeStartingAreReportedWithTheirErrorNumber) {
  sh_argv echo("echo x");
  int err = -1;
  pex_pipeline *px = pex_create(0, "test", nullptr);
  std::string bad_out = path("no-such-dir/out");
  EXPECT_STREQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", echo.get(), bad_out.c_str(),
                             nullptr, &err),
               "open temporary output file");
  EXPECT_EQ(err, ENOENT);
  pex_destroy(px);

  px = pex_create(0, "test", nullptr);
  std::string bad_err = path("no-such-dir/err");
  EXPECT_STREQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", echo.get(), nullptr,
                             bad_err.c_str(), &err),
               "open error file");
  EXPECT_EQ(err, ENOENT);
  pex_destroy(px);

  px = pex_create(0, "test", nullptr);
  std::string errfile = path("e");
  EXPECT_STREQ(pex_run_stage(px, PEX_LAST_STAGE | PEX_STDERR_TO_PIPE, "/bin/sh", echo.get(),
                             nullptr, errfile.c_str(), &err),
               "both ERRNAME and PEX_STDERR_TO_PIPE specified.");
  EXPECT_EQ(err, 0);
  pex_destroy(px);

  px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  ASSERT_EQ(pex_run_stage(px, PEX_STDERR_TO_PIPE, "/bin/sh", echo.get(), nullptr, nullptr,
                          &err),
            nullptr);
  EXPECT_STREQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", echo.get(), nullptr, nullptr,
                             &err),
               "PEX_STDERR_TO_PIPE used in the middle of pipeline");
  EXPECT_EQ(err, 0);
  pex_destroy(px);

  // A temporary base in a missing directory cannot give a file.
  std::string bad_base = path("no-such-dir/t");
  px = pex_create(0, "test", bad_base.c_str());
  EXPECT_STREQ(pex_run_stage(px, 0, "/bin/sh", echo.get(), nullptr, nullptr, &err),
               "could not create temporary file");
  EXPECT_EQ(err, 0);
  pex_destroy(px);
}

TEST_F(PexTest, StageAfterTheLastOneFails) {
  sh_argv echo("true");
  std::string out = path("o");
  pex_pipeline *px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  int err = -1;
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", echo.get(), out.c_str(), nullptr,
                          &err),
            nullptr);
  EXPECT_STREQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", echo.get(), out.c_str(), nullptr,
                             &err),
               "pipeline already complete");
  EXPECT_EQ(err, 0);
  // Nothing more to read from a complete pipeline.
  EXPECT_EQ(pex_stdout_stream(px, false), nullptr);
  int status;
  EXPECT_EQ(pex_get_status(px, 1, &status), 1);
  pex_destroy(px);
}

// The real operations, with the waits watched.
struct watched_wait {
  bool done = false;
  int status = 0;
};
watched_wait last_wait;

int watching_wait_child(pex_pipeline *obj, pid_t pid, int *status, pex_times *time, bool done,
                        const char **errmsg, int *err) {
  last_wait.done = done;
  // A child that was not told to stop would keep the wait from returning.
  if (!done)
    kill(pid, SIGKILL);
  int result = pex_unix_ops.wait_child(obj, pid, status, time, done, errmsg, err);
  last_wait.status = *status;
  return result;
}

TEST_F(PexTest, DestroyTerminatesChildrenNotWaitedFor) {
  pex_system_ops ops = pex_unix_ops;
  ops.wait_child = watching_wait_child;
  sh_argv sleeper("exec sleep 300");
  pex_pipeline *px = pex_create_with_ops(PEX_WITH_TIMES, "test", nullptr, &ops);
  int err;
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", sleeper.get(), nullptr, nullptr, &err),
            nullptr);
  pid_t child = px->children[0];
  pex_destroy(px);
  EXPECT_TRUE(last_wait.done);
  ASSERT_TRUE(WIFSIGNALED(last_wait.status));
  EXPECT_EQ(WTERMSIG(last_wait.status), SIGTERM);
  // Reaped: the process id is gone.
  EXPECT_EQ(kill(child, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST_F(PexTest, DestroyAfterOnlySomeChildrenWereWaitedFor) {
  // The second stage of a temporary-file pipeline waits for the first; the
  // last one is left to pex_destroy.
  pex_system_ops ops = pex_unix_ops;
  ops.wait_child = watching_wait_child;
  sh_argv produce("echo x");
  sh_argv consume("exec sleep 300");
  pex_pipeline *px = pex_create_with_ops(PEX_WITH_TIMES, "test", nullptr, &ops);
  int err;
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", produce.get(), nullptr, nullptr, &err), nullptr);
  ASSERT_EQ(pex_run_stage(px, PEX_LAST_STAGE, "/bin/sh", consume.get(), nullptr, nullptr, &err),
            nullptr);
  EXPECT_EQ(px->waited, 1);
  pex_destroy(px);
  EXPECT_TRUE(last_wait.done);
  EXPECT_TRUE(WIFSIGNALED(last_wait.status));
}

TEST_F(PexTest, StreamsForInputOutputAndErrorPipes) {
  pex_pipeline *px = pex_create(PEX_WITH_PIPES, "test", nullptr);
  std::FILE *in = pex_stdin_pipe(px, false);
  ASSERT_NE(in, nullptr);
  // Only one input may be chosen.
  EXPECT_EQ(pex_stdin_pipe(px, false), nullptr);
  EXPECT_EQ(errno, EINVAL);
  sh_argv filter("tr a-z A-Z; echo oops >&2");
  int err;
  // Not the last stage: its output is for the caller to read.
  ASSERT_EQ(pex_run_stage(px, PEX_STDERR_TO_PIPE, "/bin/sh", filter.get(), nullptr, nullptr,
                          &err),
            nullptr);
  std::fputs("quiet\n", in);
  std::fclose(in);
  std::FILE *out = pex_stdout_stream(px, false);
  ASSERT_NE(out, nullptr);
  std::FILE *errs = pex_stderr_stream(px, false);
  ASSERT_NE(errs, nullptr);
  char line[64];
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_STREQ(line, "QUIET\n");
  ASSERT_NE(std::fgets(line, sizeof line, errs), nullptr);
  EXPECT_STREQ(line, "oops\n");
  int status;
  ASSERT_EQ(pex_get_status(px, 1, &status), 1);
  EXPECT_EQ(status, 0);
  pex_destroy(px);

  // An input pipe needs PEX_WITH_PIPES.
  px = pex_create(0, "test", nullptr);
  EXPECT_EQ(pex_stdin_pipe(px, false), nullptr);
  EXPECT_EQ(errno, EINVAL);
  pex_destroy(px);
}

TEST_F(PexTest, InputFileAndTemporaryOutputFile) {
  std::string base = path("t");
  pex_pipeline *px = pex_create(0, "test", base.c_str());
  std::FILE *in = pex_stdin_file(px, 0, nullptr);
  ASSERT_NE(in, nullptr);
  std::fputs("from a file\n", in);
  sh_argv cat("cat");
  int err;
  // Not last: the output goes to a temporary file the caller reads.
  ASSERT_EQ(pex_run_stage(px, 0, "/bin/sh", cat.get(), nullptr, nullptr, &err), nullptr);
  EXPECT_EQ(pex_stdin_file(px, 0, nullptr), nullptr);
  EXPECT_EQ(errno, EINVAL);
  std::FILE *out = pex_stdout_stream(px, false);
  ASSERT_NE(out, nullptr);
  char line[64];
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_STREQ(line, "from a file\n");
  pex_destroy(px);
  // Both the input file and the output file were temporaries.
  EXPECT_TRUE(entries().empty());
}

TEST_F(PexTest, EnvironmentReplacesTheChildsOnly) {
  std::string out = path("env");
  char *env[] = {const_cast<char *>("VRK_PEX_PROBE=42"), nullptr};
  sh_argv show("echo \"${VRK_PEX_PROBE}-${HOME}\"");
  pex_pipeline *px = pex_create(0, "test", nullptr);
  int err;
  ASSERT_EQ(pex_run_stage_env(px, PEX_LAST_STAGE, "/bin/sh", show.get(), env, out.c_str(),
                              nullptr, &err),
            nullptr);
  int status;
  ASSERT_EQ(pex_get_status(px, 1, &status), 1);
  pex_destroy(px);
  EXPECT_EQ(slurp(out), "42-\n");
  EXPECT_EQ(std::getenv("VRK_PEX_PROBE"), nullptr);
}

} // namespace
