// The built vrk-ar, vrk-nm and vrk-ranlib run against stand-in tools that
// print the arguments they were given.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "process/pex.h"

namespace {

struct run_result {
  int status = -1;  // exit status, or -1 when the wrapper did not exit normally
  std::string out;
  std::string err;
};

class WrapperTest : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/vrk-wrap-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    tools_ = dir_ + "/tools";
    empty_ = dir_ + "/empty";
    mkdir(tools_.c_str(), 0755);
    mkdir(empty_.c_str(), 0755);
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }

  static std::string slurp(const std::string &name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // A stand-in tool that prints its name and every argument in brackets,
  // then runs TAIL.
  static void make_tool(const std::string &path, const std::string &tail = "exit 0") {
    std::ofstream(path) << "#!/bin/sh\nprintf '%s' \"$0\"\n"
                           "for a in \"$@\"; do printf ' [%s]' \"$a\"; done\necho\n"
                        << tail << "\n";
    chmod(path.c_str(), 0755);
  }
  static void make_plugin(const std::string &dir) {
    std::ofstream(dir + "/libltohook.so") << "";
  }

  // Run the wrapper PROGRAM ("ar", "nm", "ranlib") with ARGS in an
  // environment that holds only ENV.
  run_result run(const char *program, const std::vector<std::string> &args,
                 const std::vector<std::string> &env) {
    std::string exe = std::string(VRK_TEST_BINARY_DIR) + "/vrk-" + program;
    std::vector<char *> argv{const_cast<char *>(exe.c_str())};
    for (const std::string &a : args)
      argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
      envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    std::string out = dir_ + "/stdout", err = dir_ + "/stderr";
    pex_pipeline *px = pex_create(0, "test", nullptr);
    int errnum;
    run_result result;
    const char *failure = pex_run_stage_env(px, PEX_LAST_STAGE, exe.c_str(), argv.data(),
                                            envp.data(), out.c_str(), err.c_str(), &errnum);
    EXPECT_EQ(failure, nullptr) << exe;
    int status;
    if (!failure && pex_get_status(px, 1, &status) && WIFEXITED(status))
      result.status = WEXITSTATUS(status);
    pex_destroy(px);
    result.out = slurp(out);
    result.err = slurp(err);
    return result;
  }

  std::string path_env(const std::string &dir) const { return "PATH=" + dir; }

  std::string dir_, tools_, empty_;
};

TEST_F(WrapperTest, ArGetsThePluginAndADashBeforeItsOperationLetters) {
  make_tool(tools_ + "/ar");
  make_plugin(tools_);
  run_result r = run("ar", {"-B", tools_, "rcs", "lib.a", "x.o"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, tools_ + "/ar [--plugin] [" + tools_ + "/libltohook.so] [-rcs] [lib.a] [x.o]\n");

  // Letters that already have their dash are left alone; the other tools
  // never get one.
  r = run("ar", {"-B", tools_, "-t", "lib.a"}, {path_env(empty_)});
  EXPECT_EQ(r.out, tools_ + "/ar [--plugin] [" + tools_ + "/libltohook.so] [-t] [lib.a]\n");
  make_tool(tools_ + "/nm");
  r = run("nm", {"-B", tools_, "rcs"}, {path_env(empty_)});
  EXPECT_EQ(r.out, tools_ + "/nm [--plugin] [" + tools_ + "/libltohook.so] [rcs]\n");
}

TEST_F(WrapperTest, JoinedBOptionGetsASlashAndOnlyTheFirstIsTaken) {
  make_tool(tools_ + "/ranlib");
  make_plugin(tools_);
  // Another ranlib along PATH must lose against the -B directory.
  make_tool(empty_ + "/ranlib");
  run_result r = run("ranlib", {"-B" + tools_, "lib.a", "-Bsecond"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            tools_ + "/ranlib [--plugin] [" + tools_ + "/libltohook.so] [lib.a] [-Bsecond]\n");
}

TEST_F(WrapperTest, LoneBOptionPrintsUsage) {
  run_result r = run("nm", {"x.o", "-B"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Usage: vrk-ar [-B prefix] ar arguments ...\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(WrapperTest, ToolStatusAndSignalsBecomeTheWrappersResult) {
  make_plugin(tools_);
  make_tool(tools_ + "/nm", "exit 2");
  run_result r = run("nm", {"-B", tools_, "x.o"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "");

  make_tool(tools_ + "/nm", "kill -TERM $$");
  r = run("nm", {"-B", tools_, "x.o"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, tools_ + "/nm terminated with signal " + std::to_string(SIGTERM) + " [" +
                       strsignal(SIGTERM) + "]\n");
}

TEST_F(WrapperTest, PluginOnlyInToolDirectoriesToolAlsoAlongPath) {
  // The plugin is never looked for along PATH.
  make_plugin(empty_);
  make_tool(empty_ + "/ar");
  run_result r = run("ar", {"t", "lib.a"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string(VRK_TEST_BINARY_DIR) + "/vrk-ar: Cannot find plugin 'libltohook.so'\n");

  make_plugin(tools_);
  std::string exe = std::string(VRK_TEST_BINARY_DIR) + "/vrk-nm";
  r = run("nm", {"-B", tools_, "x.o"}, {path_env(dir_ + "/missing")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, exe + ": Cannot find binary 'nm'\n");

  make_tool(empty_ + "/nm");
  r = run("nm", {"-B", tools_, "x.o"}, {path_env(dir_ + "/missing:" + empty_)});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, empty_ + "/nm [--plugin] [" + tools_ + "/libltohook.so] [x.o]\n");
}

TEST_F(WrapperTest, ToolThatCannotBeStarted) {
  make_plugin(tools_);
  // Executable, but its interpreter does not exist.
  std::ofstream(tools_ + "/nm") << "#!/nonexistent/interpreter\n";
  chmod((tools_ + "/nm").c_str(), 0755);
  run_result r = run("nm", {"-B", tools_, "x.o"}, {path_env(empty_)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error running " + tools_ + "/nm: execvp\n");
}

TEST_F(WrapperTest, InstalledTreeFoundThroughTheExecPrefix) {
  // The layout of an installation moved to DIR/inst.
  std::string inst = dir_ + "/inst";
  std::string plugin_dir = inst + "/libexec/vrk/aarch64-portbld-freebsd15.0/13.2.0";
  std::string tool_dir = inst + "/aarch64-portbld-freebsd15.0/bin";
  // Lookups climb through lib/vrk/<machine>/<version>, so it must exist.
  std::string lib_dir = inst + "/lib/vrk/aarch64-portbld-freebsd15.0/13.2.0";
  ASSERT_EQ(std::system(("mkdir -p '" + plugin_dir + "' '" + tool_dir + "' '" + lib_dir +
                         "' '" + inst + "/bin'")
                            .c_str()),
            0);
  make_plugin(plugin_dir);
  make_tool(tool_dir + "/ar");
  run_result r = run("ar", {"rc", "lib.a"},
                     {path_env(empty_), "VRK_EXEC_PREFIX=" + inst + "/bin/"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::string bin = inst + "/bin/../";
  EXPECT_EQ(r.out, bin + "lib/vrk/aarch64-portbld-freebsd15.0/13.2.0/../../../../"
                         "aarch64-portbld-freebsd15.0/bin/ar [--plugin] [" +
                       bin + "libexec/vrk/aarch64-portbld-freebsd15.0/13.2.0/libltohook.so] "
                             "[-rc] [lib.a]\n");
}

} // namespace
