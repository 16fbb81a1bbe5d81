// Search prefixes: relocation of configured paths, the walk over machine
// subdirectories and multilib variants, and the lookups.  The joined lists
// exported to the children are checked by the driver tests.
#include "process/prefixes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/scratch-dir-test-support.h"

namespace {

const std::string M = "aarch64-portbld-freebsd15.0/13.2.0/";
const std::string MO = "aarch64-portbld-freebsd15.0/";

// "prefix (require_machine_suffix,os_multilib)" per entry.
std::vector<std::string> entries(const prefix_list &list) {
  std::vector<std::string> out;
  for (const prefix_entry *e = list.plist; e; e = e->next)
    out.push_back(std::string(e->prefix) + " (" + std::to_string(e->require_machine_suffix) +
                  "," + std::to_string(e->os_multilib) + ")");
  return out;
}

void *record_candidate(char *path, void *data) {
  static_cast<std::vector<std::string> *>(data)->push_back(path);
  return nullptr;
}

std::vector<std::string> walk(const search_paths &paths, const prefix_list &list,
                              bool use_multilib) {
  std::vector<std::string> seen;
  paths.walk_prefixes(list, use_multilib, 0, record_candidate, &seen);
  return seen;
}

std::string take(char *text) {
  std::string s = text ? text : "(null)";
  std::free(text);
  return s;
}

TEST(Prefixes, RelocationThroughRootVariablesAndDotDotFolding) {
  // VRK_ROOT moving a VRK-keyed directory is checked by the driver tests.
  scratch_dir t;
  t.dir("a");
  setenv("VRK_ROOT", "/r", 1);
  setenv("OBJKIT_ROOT", "/o", 1);
  setenv("VRK_TEST_KEY", "/k", 1);
  struct {
    std::string path;
    const char *key;
    std::string want;
  } cases[] = {
      {"/usr/local/tolv13/lib/vrk/", "OBJKIT", "/o/lib/vrk/"},
      {"/usr/local/tolv13", "VRK", "/r"},
      {"/usr/local/tolv13/lib/", "$VRK_TEST_KEY", "/k/lib/"},
      // Only whole components of the root match, and only keyed paths move.
      {"/usr/local/tolv13x/lib/", "VRK", "/usr/local/tolv13x/lib/"},
      {"/usr/local/tolv13/lib/", nullptr, "/usr/local/tolv13/lib/"},
      // ".." folds only where the directory before it is missing.
      {t.root() + "/a/../c/", nullptr, t.root() + "/a/../c/"},
      {t.root() + "/zz/../c/", nullptr, t.root() + "/c/"},
      {t.root() + "/zz/yy/../../c/", nullptr, t.root() + "/c/"},
      {"/../x/", nullptr, "/../x/"},
      {"x/../y/", nullptr, "y/"},
  };
  const char *root = "/usr/local/tolv13";
  for (const auto &c : cases)
    EXPECT_EQ(take(relocate_path(c.path.c_str(), c.key, root)), c.want) << c.path;
  if (access("/usr/local/tolv13", F_OK) != 0)
    EXPECT_EQ(take(relocate_path(
                  ("/usr/local/tolv13/lib/vrk/" + M + "../../../").c_str(), nullptr, root)),
              "/usr/local/tolv13/lib/");
  EXPECT_EQ(take(translate_prefix_key("$VRK_TEST_UNSET_KEY/x", root)), "/usr/local/tolv13/x");

  // A root that names itself must not expand forever.
  setenv("VRK_ROOT", "@VRK/loop", 1);
  EXPECT_FALSE(take(relocate_path("/usr/local/tolv13/lib/", "VRK", root)).empty());
  for (const char *var : {"VRK_ROOT", "OBJKIT_ROOT", "VRK_TEST_KEY"})
    unsetenv(var);
}

TEST(Prefixes, RelocationFollowsTheStandardPrefix) {
  search_paths paths;
  unsetenv("VRK_ROOT");
  paths.set_standard_prefix("/opt/x/bin/../lib/vrk/", 13);  // "/opt/x/bin/.."
  EXPECT_STREQ(paths.standard_prefix, "/opt/x/bin/..");
  // A configured-looking path is not under the new root; a relocated one
  // is rewritten through it (and folded, as /opt/x/bin does not exist).
  EXPECT_EQ(take(paths.relocate("/opt/x/bin/../libexec/vrk/", "VRK")), "/opt/x/libexec/vrk/");
  EXPECT_EQ(take(translate_prefix_key("@VRK/lib/", paths.standard_prefix)), "/opt/x/bin/../lib/");
}

TEST(Prefixes, WalkOrderWithMachineSuffixesAndMultilibVariants) {
  using list = std::vector<std::string>;
  const std::string a = "/p/a/", b = "/p/b/", c = "/p/c/", d = "/p/ddd/";
  struct {
    const char *dir, *os_dir, *arch;
    bool use_multilib;
    list want;
  } cases[] = {
      {nullptr, nullptr, nullptr, true, {a + M, a, b + M, c + M, c + MO, d + M, d}},
      {"m", "../lib64", "aarch64-x", true,
       {// First pass: the multilib variants.
        a + M + "m/", a + "aarch64-x/", a + "m/", b + M + "m/", c + M + "m/", c + MO + "m/",
        d + M + "m/", d + "aarch64-x/", d + "../lib64/",
        // Second pass: the same directories without them.
        a + M, a + "aarch64-x/", a, b + M, c + M, c + MO, d + M, d + "aarch64-x/", d}},
      // Program lookups use no multilib variants; the multiarch one stays.
      {"m", "../lib64", "aarch64-x", false,
       {a + M, a + "aarch64-x/", a, b + M, c + M, c + MO, d + M, d + "aarch64-x/", d}},
      // Only an OS multilib directory: the second pass tries just the bare
      // OS multilib entries.
      {".", "../lib64", nullptr, true, {a + M, a, b + M, c + M, c + MO, d + M, d + "../lib64/", d}},
  };
  search_paths paths;
  prefix_list &prefixes = paths.startfile_prefixes;
  paths.add_search_prefix(prefixes, a.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  paths.add_search_prefix(prefixes, b.c_str(), nullptr, PREFIX_PRIORITY_LAST, 1, 0);
  paths.add_search_prefix(prefixes, c.c_str(), nullptr, PREFIX_PRIORITY_LAST, 2, 0);
  paths.add_search_prefix(prefixes, d.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 1);
  // The order of insertion by priority is checked with -B.
  EXPECT_EQ(prefixes.max_len, static_cast<int>(d.size()));
  for (const auto &w : cases) {
    SCOPED_TRACE(std::string(w.dir ? w.dir : "-") + (w.use_multilib ? " multilib" : ""));
    paths.multilib = {w.dir, w.os_dir, w.arch};
    EXPECT_EQ(walk(paths, prefixes, w.use_multilib), w.want);
  }
}

TEST(Prefixes, FindFileAndPrograms) {
  scratch_dir t;
  std::string bdir = t.dir("b") + "/";
  std::string pdir = t.dir("p/" + M);
  t.script("p/" + M + "tool", "");
  t.file("b/data");
  t.dir("b/tooldir");
  t.script("b/as", "");
  std::string configured_as = t.file("as");

  search_paths paths;
  prefix_list &list = paths.startfile_prefixes;
  paths.add_search_prefix(list, (t.root() + "/p/").c_str(), nullptr, PREFIX_PRIORITY_LAST, 1, 0);
  paths.add_search_prefix(list, bdir.c_str(), nullptr, PREFIX_PRIORITY_B_OPT, 0, 0);

  EXPECT_EQ(take(paths.find_file_on_prefixes(list, "tool", X_OK, false)), pdir + "tool");
  EXPECT_EQ(take(paths.find_file_on_prefixes(list, "data", R_OK, false)), bdir + "data");
  EXPECT_EQ(take(paths.find_file_on_prefixes(list, "data", X_OK, false)), "(null)");
  EXPECT_EQ(take(paths.find_file_on_prefixes(list, "tooldir", X_OK, false)), "(null)");
  // An absolute name is only tested, never searched.
  EXPECT_EQ(take(paths.find_file_on_prefixes(list, (bdir + "data").c_str(), R_OK, false)),
            bdir + "data");
  EXPECT_EQ(take(paths.find_file_on_prefixes(list, "/data", R_OK, false)), "(null)");

  // find_program: the configured assembler only when it is executable (a
  // new object each time: the file system changed under the remembered
  // answer).
  auto find = [&](const char *program) {
    search_paths programs;
    programs.add_search_prefix(programs.exec_prefixes, bdir.c_str(), nullptr,
                               PREFIX_PRIORITY_B_OPT, 0, 0);
    programs.configured_assembler = configured_as.c_str();
    return take(programs.find_program(program));
  };
  EXPECT_EQ(find("as"), bdir + "as");
  chmod(configured_as.c_str(), 0755);
  EXPECT_EQ(find("as"), configured_as);
  EXPECT_EQ(find("ld").find(bdir), std::string::npos);
}

// Remembered program lookups never outlive a change to what they were
// made from: each mutation below must change the answer.
TEST(Prefixes, ProgramLookupsFollowEveryChangeOfTheirInputs) {
  scratch_dir t;
  std::string late = t.dir("late") + "/";
  std::string early = t.dir("early") + "/";
  t.script("late/tool", "");
  t.script("early/tool", "");
  t.script("early/" + M + "tool", "");
  t.script("early/aarch64-x/tool", "");
  std::string configured = t.script("configured-as", "");

  search_paths paths;
  paths.add_search_prefix(paths.exec_prefixes, late.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  EXPECT_EQ(take(paths.find_program("tool")), late + "tool");
  EXPECT_EQ(take(paths.find_program("nosuch")), "(null)");

  // A -B directory goes first.
  paths.add_search_prefix(paths.exec_prefixes, early.c_str(), nullptr, PREFIX_PRIORITY_B_OPT,
                          1, 0);
  EXPECT_EQ(take(paths.find_program("tool")), early + M + "tool");
  // An entry changed in place.
  paths.exec_prefixes.plist->require_machine_suffix = 0;
  paths.multilib.multiarch_dir = "aarch64-x";
  EXPECT_EQ(take(paths.find_program("tool")), early + M + "tool");
  paths.machine_suffix = "elsewhere/";
  EXPECT_EQ(take(paths.find_program("tool")), early + "aarch64-x/tool");
  paths.multilib.multiarch_dir = nullptr;
  EXPECT_EQ(take(paths.find_program("tool")), early + "tool");
  // The list emptied and refilled.
  free_prefix_list(&paths.exec_prefixes);
  EXPECT_EQ(take(paths.find_program("tool")), "(null)");
  paths.add_search_prefix(paths.exec_prefixes, late.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  EXPECT_EQ(take(paths.find_program("tool")), late + "tool");
  // The configured tools.
  EXPECT_NE(take(paths.find_program("as")), configured);
  paths.configured_assembler = configured.c_str();
  EXPECT_EQ(take(paths.find_program("as")), configured);
}

TEST(Prefixes, SysrootPrefixes) {
  search_paths paths;
  paths.add_sysroot_prefix("/usr/lib/", "OBJKIT", nullptr, nullptr);
  paths.add_sysroot_prefix("/lib/", "OBJKIT", "/sys/root/", "/sfx");
  EXPECT_EQ(entries(paths.startfile_prefixes),
            (std::vector<std::string>{"/usr/lib/ (0,1)", "/sys/root/sfx/lib/ (0,1)"}));
}

TEST(PrefixesDeathTest, RelativeSystemPathIsFatal) {
  search_paths paths;
  EXPECT_EXIT(paths.add_sysroot_prefix("lib/", nullptr, nullptr, nullptr),
              testing::ExitedWithCode(1), "system path .*lib/.* is not absolute");
}

} // namespace
