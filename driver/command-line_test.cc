// process_command as a whole (search prefixes for a driver in its
// configured place, LIBRARY_PATH and LPATH, what information requests
// tolerate, the environment's -fcompare-debug) and the two callbacks
// for options the option machinery cannot dispatch.  process_command
// changes the environment, so each run happens in a child process.
#include "driver/command-line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "support/scratch-dir-test-support.h"

namespace {

const std::string target = "aarch64-portbld-freebsd15.0";

// "prefix (require_machine_suffix,os_multilib)" per entry.
std::vector<std::string> entries(const prefix_list &list, std::size_t at_most = 100) {
  std::vector<std::string> out;
  for (const prefix_entry *e = list.plist; e && out.size() < at_most; e = e->next)
    out.push_back(std::string(e->prefix) + " (" + std::to_string(e->require_machine_suffix) +
                  "," + std::to_string(e->os_multilib) + ")");
  return out;
}

// Run CHECK on a fresh compilation record in a child process after
// process_command on ARGS, with none of the environment variables
// process_command reads (ENVIRONMENT sets those a test wants); CHECK's
// gtest failures make the child fail.
void in_child(std::vector<const char *> args, const std::function<void(compilation &)> &check,
              const std::function<void()> &environment = [] {}) {
  EXPECT_EXIT(
      {
        for (const char *var : {"VRK_EXEC_PREFIX", "COMPILER_PATH", "LIBRARY_PATH", "LPATH",
                                "VRK_COMPARE_DEBUG", "VRK_ROOT", "OBJKIT_ROOT"})
          unsetenv(var);
        environment();
        compilation comp;
        decoded_option *decoded;
        unsigned count;
        decode_command_line(static_cast<unsigned>(args.size()), args.data(), OPTF_DRIVER,
                            &decoded, &count);
        process_command(comp, &count, &decoded);
        // The child inherits the parent's results and prints none of its
        // own: report the failures CHECK adds on standard error.
        const testing::TestResult *result =
            testing::UnitTest::GetInstance()->current_test_info()->result();
        int before = result->total_part_count();
        check(comp);
        bool failed = false;
        for (int i = before; i < result->total_part_count(); i++)
          if (result->GetTestPartResult(i).failed()) {
            std::fprintf(stderr, "%s\n", result->GetTestPartResult(i).message());
            failed = true;
          }
        std::exit(failed ? 1 : 0);
      },
      testing::ExitedWithCode(0), "");
}

// A driver binary at <root>/bin/vrk, as in an installation moved there.
struct moved_driver {
  scratch_dir dir;
  std::string root = canonical(dir.root());
  std::string driver = root + "/bin/vrk";
  moved_driver() { dir.script("bin/vrk", ""); }
  static std::string canonical(const std::string &path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved);
  }
};

TEST(ProcessCommand, PrefixesOfADriverInItsConfiguredPlace) {
  if (access("/usr/local/tolv13", F_OK) == 0)
    GTEST_SKIP() << "an installation exists at the configured place";
  in_child({"/usr/local/tolv13/bin/vrk", "-c", "x.c"}, [](compilation &comp) {
    const search_paths &search = comp.search;
    EXPECT_EQ(comp.install_exec_prefix, nullptr);
    EXPECT_EQ(std::getenv("VRK_EXEC_PREFIX"), nullptr);
    // The tool directory folds where the configured tree is absent.
    EXPECT_EQ(entries(search.exec_prefixes),
              (std::vector<std::string>{"/usr/local/tolv13/libexec/vrk/ (1,0)",
                                        "/usr/local/tolv13/libexec/vrk/ (2,0)",
                                        "/usr/local/tolv13/lib/vrk/ (2,0)",
                                        "/usr/local/tolv13/" + target + "/bin/ (0,0)"}));
    // LIBRARY_PATH and LPATH entries are OS-multilib startfile prefixes.
    EXPECT_EQ(entries(search.startfile_prefixes),
              (std::vector<std::string>{"/l1/ (0,1)", "/l2/ (0,1)",
                                        "/usr/local/tolv13/lib/vrk/ (1,0)",
                                        "/usr/local/tolv13/" + target + "/lib/ (0,1)"}));
    EXPECT_EQ(search.include_prefixes.plist, nullptr);
  }, [] {
    setenv("LIBRARY_PATH", "/l1", 1);
    setenv("LPATH", "/l2/", 1);
  });
}

// The lists of a relocated driver, -B and COMPILER_PATH are checked by the
// driver tests through -print-search-dirs and the exported search paths.

TEST(ProcessCommand, WhatInformationRequestsTolerate) {
  moved_driver t;
  // Only -v or --help alone tolerate undefined variables in the specs (the
  // input --help gets, for the children's help, is queries.test's).
  in_child({t.driver.c_str(), "--help"},
           [](compilation &comp) { EXPECT_TRUE(comp.undefined_env_tolerated); });
  in_child({t.driver.c_str(), "-v"},
           [](compilation &comp) { EXPECT_TRUE(comp.undefined_env_tolerated); });
  in_child({t.driver.c_str(), "-v", "--version"},
           [](compilation &comp) { EXPECT_FALSE(comp.undefined_env_tolerated); });
}

TEST(ProcessCommand, CompareDebugFromTheEnvironment) {
  moved_driver t;
  struct {
    const char *value;
    const char *option;
    int mode;
    const char *pushed;
  } cases[] = {
      {"-g0", nullptr, 1, "fcompare-debug=-g0"},
      {"1", nullptr, 1, "fcompare-debug=-gtoggle"},
      {"0", nullptr, 0, nullptr},
      {"", nullptr, 0, nullptr},
      {"1", "-fno-compare-debug", 0, "fcompare-debug="},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.value);
    std::vector<const char *> args = {t.driver.c_str(), "-c", "x.c"};
    if (c.option)
      args.push_back(c.option);
    in_child(
        args,
        [&](compilation &comp) {
          const switch_list &switches = comp.switches;
          EXPECT_EQ(comp.compare_debug.mode, c.mode);
          if (c.pushed)
            EXPECT_STREQ(switches[switches.count() - 1].text, c.pushed);
          else
            EXPECT_EQ(switches.count(), 1);
        },
        [&] { setenv("VRK_COMPARE_DEBUG", c.value, 1); });
  }
}

TEST(OptionCallbacks, UnknownOptionsAreSavedUnclaimed) {
  compilation comp;
  const switch_list &switches = comp.switches;
  // Only a "-Wno-" form without a negation error counts as recognised.
  struct {
    const char *text;
    unsigned errors;
    bool recognised;
  } cases[] = {{"-Wno-bogus-thing", 0, true},
               {"-Wno-larger-than=5", OPTERR_NEGATIVE, false},
               {"-fbogus", 0, false},
               {"-Wnobogus", 0, false}};
  for (const auto &c : cases) {
    decoded_option d{};
    d.opt_index = OPTION_UNKNOWN;
    d.arg = d.orig_text = d.canonical[0] = c.text;
    d.canonical_count = 1;
    d.errors = c.errors;
    EXPECT_FALSE(driver_unknown_option_callback(&d, &comp));
    const saved_switch &sw = switches[switches.count() - 1];
    EXPECT_STREQ(sw.text, c.text + 1);
    EXPECT_EQ(sw.recognised, c.recognised) << c.text;
    EXPECT_FALSE(sw.claimed);
  }
  EXPECT_EQ(switches.count(), 4);
}

TEST(OptionCallbacks, WrongLanguageOptions) {
  compilation comp;
  const switch_list &switches = comp.switches;
  int errors = diagnostic_count(kind_error);
  decoded_option d{};
  const char *wall[] = {"-Wall", nullptr};
  decode_cmdline_option(wall, OPTF_DRIVER, &d);
  driver_wrong_lang_callback(&d, OPTF_DRIVER, &comp);
  ASSERT_EQ(switches.count(), 1);
  EXPECT_STREQ(switches[0].text, "Wall");
  EXPECT_TRUE(switches[0].recognised);
  EXPECT_FALSE(switches[0].claimed);

  // An option the driver rejects is an error, not a switch.
  const char *quiet[] = {"-quiet", nullptr};
  decode_cmdline_option(quiet, OPTF_DRIVER, &d);
  driver_wrong_lang_callback(&d, OPTF_DRIVER, &comp);
  EXPECT_EQ(switches.count(), 1);
  EXPECT_EQ(diagnostic_count(kind_error), errors + 1);
}

} // namespace
