// The built vrk-ar, vrk-nm and vrk-ranlib run against stand-in tools that
// print the arguments they were given.  The installed wrappers with the
// stand-in and the real tools (the dash before ar's letters, a joined -B,
// the tool's status and signals) are covered by the driver tests.
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "process/pex.h"
#include "support/scratch-dir-test-support.h"

namespace {

class WrapperTest : public ::testing::Test {
protected:
  // tools/ holds ar, nm and the plugin; path/ the same, along PATH;
  // plugin/ only the plugin; broken/ the plugin and an nm whose
  // interpreter does not exist.
  void SetUp() override {
    for (const char *dir : {"tools", "path", "plugin", "broken"})
      scratch_.file(std::string(dir) + "/libltohook.so");
    for (const char *tool : {"tools/ar", "tools/nm", "path/ar", "path/nm"})
      make_tool(tool);
    chmod(scratch_.file("broken/nm", "#!/nonexistent/interpreter\n").c_str(), 0755);
  }

  // A stand-in tool that prints its name and every argument in brackets.
  void make_tool(const std::string &relative) {
    scratch_.script(relative, "printf '%s' \"$0\"\n"
                              "for a in \"$@\"; do printf ' [%s]' \"$a\"; done\necho");
  }
  std::string plugin_args(const char *dir) {
    return " [--plugin] [" + at(dir) + "/libltohook.so]";
  }
  std::string at(const char *relative) { return scratch_.path(relative); }

  // Run the wrapper PROGRAM ("ar", "nm", "ranlib") with ARGS in an
  // environment that holds only PATH=PATH_VALUE and EXTRA; "status|stdout|stderr".
  std::string run(const char *program, const std::vector<std::string> &args,
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
    int errnum, status = -1;
    EXPECT_EQ(pex_run_stage_env(px, PEX_LAST_STAGE, exe.c_str(), argv.data(), envp.data(),
                                out.c_str(), err.c_str(), &errnum),
              nullptr)
        << exe;
    pex_get_status(px, 1, &status);
    pex_destroy(px);
    return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "|" + slurp(out) +
           "|" + slurp(err);
  }

  scratch_dir scratch_;
  const std::string wrapper_dir_ = VRK_TEST_BINARY_DIR;
};

TEST_F(WrapperTest, BOptionsPluginAndToolLookups) {
  std::string path = at("path");
  // Only the first -B is taken (joined or separate); only ar gets a dash.
  EXPECT_EQ(run("ar", {"-B", at("tools"), "-t", "lib.a", "-Bsecond"}, path),
            "0|" + at("tools/ar") + plugin_args("tools") + " [-t] [lib.a] [-Bsecond]\n|");
  EXPECT_EQ(run("nm", {"-B" + at("tools"), "rcs"}, path),
            "0|" + at("tools/nm") + plugin_args("tools") + " [rcs]\n|");
  EXPECT_EQ(run("nm", {"x.o", "-B"}, path), "1||Usage: vrk-ar [-B prefix] ar arguments ...\n");
  // The plugin is never looked for along PATH; the tool is, after the -B
  // directory.
  EXPECT_EQ(run("ar", {"t", "lib.a"}, path),
            "1||" + wrapper_dir_ + "/vrk-ar: Cannot find plugin 'libltohook.so'\n");
  EXPECT_EQ(run("nm", {"-B", at("plugin"), "x.o"}, at("missing")),
            "1||" + wrapper_dir_ + "/vrk-nm: Cannot find binary 'nm'\n");
  EXPECT_EQ(run("nm", {"-B", at("plugin"), "x.o"}, at("missing") + ":" + path),
            "0|" + at("path/nm") + plugin_args("plugin") + " [x.o]\n|");
  // Executable, but its interpreter does not exist.
  EXPECT_EQ(run("nm", {"-B", at("broken"), "x.o"}, path),
            "1||Error running " + at("broken/nm") + ": execvp\n");
}

TEST_F(WrapperTest, InstalledTreeFoundThroughTheExecPrefix) {
  // The layout of an installation moved to the scratch directory's "inst";
  // lookups climb through lib/vrk/<machine>/<version>, so it must exist.
  const std::string m = "aarch64-portbld-freebsd15.0";
  scratch_.dir("inst/lib/vrk/" + m + "/13.2.0");
  scratch_.dir("inst/bin");
  scratch_.file("inst/libexec/vrk/" + m + "/13.2.0/libltohook.so");
  make_tool("inst/" + m + "/bin/ar");
  std::string bin = at("inst") + "/bin/../";
  EXPECT_EQ(run("ar", {"rc", "lib.a"}, at("path"), "VRK_EXEC_PREFIX=" + at("inst") + "/bin/"),
            "0|" + bin + "lib/vrk/" + m + "/13.2.0/../../../../" + m + "/bin/ar [--plugin] [" +
                bin + "libexec/vrk/" + m + "/13.2.0/libltohook.so] [-rc] [lib.a]\n|");
}

} // namespace
