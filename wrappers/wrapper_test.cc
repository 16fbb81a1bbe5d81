// The built vrk-ar, vrk-nm and vrk-ranlib run against stand-in tools that
// print the arguments they were given.  The installed wrappers with the
// stand-in and the real tools are covered by the driver tests.
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "process/pex.h"
#include "support/scratch-dir-test-support.h"

namespace {

struct run_result {
  int status = -1; // exit status, or -1 when the wrapper did not exit normally
  std::string out;
  std::string err;
};

class WrapperTest : public ::testing::Test {
protected:
  void SetUp() override {
    tools_ = scratch_.dir("tools");
    empty_ = scratch_.dir("empty");
  }

  // A stand-in tool that prints its name and every argument in brackets,
  // then runs TAIL.
  void make_tool(const std::string &relative, const std::string &tail = "exit 0") {
    scratch_.script(relative, "printf '%s' \"$0\"\n"
                              "for a in \"$@\"; do printf ' [%s]' \"$a\"; done\necho\n" +
                                  tail);
  }
  void make_plugin(const std::string &relative_dir) {
    scratch_.file(relative_dir + "/libltohook.so");
  }

  // Run the wrapper PROGRAM ("ar", "nm", "ranlib") with ARGS in an
  // environment that holds only PATH=PATH_VALUE and EXTRA.
  run_result run(const char *program, const std::vector<std::string> &args,
                 const std::string &path_value, const std::string &extra = "") {
    std::string exe = std::string(VRK_TEST_BINARY_DIR) + "/vrk-" + program;
    std::vector<char *> argv{const_cast<char *>(exe.c_str())};
    for (const std::string &a : args)
      argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::string path = "PATH=" + path_value;
    std::vector<char *> envp{const_cast<char *>(path.c_str())};
    if (!extra.empty())
      envp.push_back(const_cast<char *>(extra.c_str()));
    envp.push_back(nullptr);

    std::string out = scratch_.path("stdout"), err = scratch_.path("stderr");
    pex_pipeline *px = pex_create(0, "test", nullptr);
    int errnum, status;
    run_result result;
    EXPECT_EQ(pex_run_stage_env(px, PEX_LAST_STAGE, exe.c_str(), argv.data(), envp.data(),
                                out.c_str(), err.c_str(), &errnum),
              nullptr)
        << exe;
    if (pex_get_status(px, 1, &status) && WIFEXITED(status))
      result.status = WEXITSTATUS(status);
    pex_destroy(px);
    result.out = slurp(out);
    result.err = slurp(err);
    return result;
  }

  scratch_dir scratch_;
  std::string tools_, empty_;
};

TEST_F(WrapperTest, OnlyArGetsADashAndOnlyTheFirstBOptionIsTaken) {
  make_tool("tools/ar");
  make_tool("tools/nm");
  make_plugin("tools");
  std::string plugin = " [--plugin] [" + tools_ + "/libltohook.so]";
  run_result r = run("ar", {"-B", tools_, "-t", "lib.a", "-Bsecond"}, empty_);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, tools_ + "/ar" + plugin + " [-t] [lib.a] [-Bsecond]\n");
  r = run("nm", {"-B" + tools_, "rcs"}, empty_);
  EXPECT_EQ(r.out, tools_ + "/nm" + plugin + " [rcs]\n");
}

TEST_F(WrapperTest, LoneBOptionPrintsUsage) {
  run_result r = run("nm", {"x.o", "-B"}, empty_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Usage: vrk-ar [-B prefix] ar arguments ...\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(WrapperTest, PluginOnlyInToolDirectoriesToolAlsoAlongPath) {
  // The plugin is never looked for along PATH.
  make_plugin("empty");
  make_tool("empty/ar");
  run_result r = run("ar", {"t", "lib.a"}, empty_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            std::string(VRK_TEST_BINARY_DIR) + "/vrk-ar: Cannot find plugin 'libltohook.so'\n");

  make_plugin("tools");
  r = run("nm", {"-B", tools_, "x.o"}, scratch_.path("missing"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string(VRK_TEST_BINARY_DIR) + "/vrk-nm: Cannot find binary 'nm'\n");

  make_tool("empty/nm");
  r = run("nm", {"-B", tools_, "x.o"}, scratch_.path("missing") + ":" + empty_);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, empty_ + "/nm [--plugin] [" + tools_ + "/libltohook.so] [x.o]\n");
}

TEST_F(WrapperTest, ToolThatCannotBeStarted) {
  make_plugin("tools");
  // Executable, but its interpreter does not exist.
  scratch_.file("tools/nm", "#!/nonexistent/interpreter\n");
  chmod((tools_ + "/nm").c_str(), 0755);
  run_result r = run("nm", {"-B", tools_, "x.o"}, empty_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error running " + tools_ + "/nm: execvp\n");
}

TEST_F(WrapperTest, InstalledTreeFoundThroughTheExecPrefix) {
  // The layout of an installation moved to the scratch directory's "inst";
  // lookups climb through lib/vrk/<machine>/<version>, so it must exist.
  std::string inst = scratch_.path("inst");
  scratch_.dir("inst/lib/vrk/aarch64-portbld-freebsd15.0/13.2.0");
  scratch_.dir("inst/bin");
  make_plugin("inst/libexec/vrk/aarch64-portbld-freebsd15.0/13.2.0");
  make_tool("inst/aarch64-portbld-freebsd15.0/bin/ar");
  run_result r = run("ar", {"rc", "lib.a"}, empty_, "VRK_EXEC_PREFIX=" + inst + "/bin/");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::string bin = inst + "/bin/../";
  EXPECT_EQ(r.out, bin + "lib/vrk/aarch64-portbld-freebsd15.0/13.2.0/../../../../"
                         "aarch64-portbld-freebsd15.0/bin/ar [--plugin] [" +
                       bin + "libexec/vrk/aarch64-portbld-freebsd15.0/13.2.0/libltohook.so] "
                             "[-rc] [lib.a]\n");
}

} // namespace
