// process_command as a whole (search prefixes for a driver in its
// configured place and relocated, inputs, output and auxiliary names,
// environment search paths) and the two callbacks for options the option
// machinery cannot dispatch.  process_command runs once per process, so
// each run happens in a child process.
#include "driver/command-line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "process/prefixes.h"

namespace {

const std::string target = "aarch64-portbld-freebsd15.0";
const std::string machine = target + "/13.2.0/";

struct listed {
  std::string prefix;
  int require_machine_suffix;
  int os_multilib;
  bool operator==(const listed &) const = default;
};

std::vector<listed> entries(const prefix_list &list) {
  std::vector<listed> out;
  for (const prefix_entry *e = list.plist; e; e = e->next)
    out.push_back({e->prefix, e->require_machine_suffix, e->os_multilib});
  return out;
}

std::string show(const std::vector<listed> &list) {
  std::string s;
  for (const listed &l : list)
    s += "  " + l.prefix + " (" + std::to_string(l.require_machine_suffix) + "," +
         std::to_string(l.os_multilib) + ")\n";
  return s;
}

// Decode ARGS and run process_command on them (in the calling process).
void run_process_command(std::vector<const char *> args) {
  init_options_struct(&global_options, &global_options_set);
  decoded_option *decoded;
  unsigned count;
  decode_command_line(static_cast<unsigned>(args.size()), args.data(), OPTF_DRIVER, &decoded,
                      &count);
  process_command(&count, &decoded);
}

// Run CHECK in a child process; its result lists the mismatches found.
void in_child(const std::function<std::string()> &check) {
  EXPECT_EXIT(
      {
        std::string problems = check();
        std::fprintf(stderr, "%s", problems.c_str());
        std::exit(problems.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

void clear_environment() {
  for (const char *var : {"VRK_EXEC_PREFIX", "COMPILER_PATH", "LIBRARY_PATH", "LPATH",
                          "VRK_COMPARE_DEBUG", "VRK_ROOT", "OBJKIT_ROOT"})
    unsetenv(var);
}

std::string compare(const char *what, const std::vector<listed> &got,
                    const std::vector<listed> &want) {
  if (got == want)
    return "";
  return std::string(what) + " differs; got:\n" + show(got) + "want:\n" + show(want);
}

TEST(ProcessCommand, PrefixesOfADriverInItsConfiguredPlace) {
  if (access("/usr/local/tolv13", F_OK) == 0)
    GTEST_SKIP() << "an installation exists at the configured place";
  in_child([] {
    clear_environment();
    run_process_command({"/usr/local/tolv13/bin/vrk", "-c", "x.c"});
    std::string p;
    if (install_exec_prefix)
      p += "install_exec_prefix set\n";
    if (std::getenv("VRK_EXEC_PREFIX"))
      p += "VRK_EXEC_PREFIX exported\n";
    // The tool directory folds where the configured tree is absent.
    p += compare("exec_prefixes", entries(exec_prefixes),
                 {{"/usr/local/tolv13/libexec/vrk/", 1, 0},
                  {"/usr/local/tolv13/libexec/vrk/", 2, 0},
                  {"/usr/local/tolv13/lib/vrk/", 2, 0},
                  {"/usr/local/tolv13/" + target + "/bin/", 0, 0}});
    p += compare("startfile_prefixes", entries(startfile_prefixes),
                 {{"/usr/local/tolv13/lib/vrk/", 1, 0},
                  {"/usr/local/tolv13/" + target + "/lib/", 0, 1}});
    p += compare("include_prefixes", entries(include_prefixes), {});
    return p;
  });
}

// An installation moved next to a driver in <tmp>/bin.
class relocated_tree {
public:
  relocated_tree() {
    char pattern[] = "/tmp/vrk-reloc-XXXXXX";
    char *made = mkdtemp(pattern);
    char resolved[PATH_MAX];
    root_ = realpath(made, resolved);
    std::system(("mkdir -p '" + root_ + "/bin' '" + root_ + "/lib/vrk/" + machine + "' '" +
                 root_ + "/libexec/vrk/" + machine + "'")
                    .c_str());
    driver_ = root_ + "/bin/vrk";
    std::FILE *f = std::fopen(driver_.c_str(), "w");
    std::fclose(f);
    chmod(driver_.c_str(), 0755);
  }
  ~relocated_tree() { std::system(("rm -rf '" + root_ + "'").c_str()); }
  const std::string &root() const { return root_; }
  const char *driver() const { return driver_.c_str(); }

private:
  std::string root_;
  std::string driver_;
};

TEST(ProcessCommand, PrefixesOfARelocatedDriver) {
  relocated_tree t;
  in_child([&] {
    clear_environment();
    run_process_command({t.driver(), "x.o"});
    const std::string base = t.root() + "/bin/../";
    std::string p;
    if (!install_exec_prefix || base + "lib/vrk/" != install_exec_prefix)
      p += "install_exec_prefix wrong\n";
    const char *exported = std::getenv("VRK_EXEC_PREFIX");
    if (!exported || base + "lib/vrk/" != exported)
      p += "VRK_EXEC_PREFIX not exported\n";
    if (base.substr(0, base.size() - 1) != standard_prefix)
      p += std::string("standard_prefix is ") + standard_prefix + "\n";
    const std::string tool = base + "lib/vrk/" + machine + "../../../../" + target + "/";
    p += compare("exec_prefixes", entries(exec_prefixes),
                 {{base + "libexec/vrk/", 0, 0}, {tool + "bin/", 0, 0}});
    p += compare("startfile_prefixes", entries(startfile_prefixes),
                 {{base + "lib/vrk/", 0, 0}, {tool + "lib/", 0, 1}});
    return p;
  });
}

TEST(ProcessCommand, EnvironmentSearchPaths) {
  relocated_tree t;
  in_child([&] {
    clear_environment();
    setenv("COMPILER_PATH", "a::b/", 1);
    setenv("LIBRARY_PATH", "/l1", 1);
    setenv("LPATH", "/l2/", 1);
    run_process_command({t.driver(), "-B/bdir/", "x.o"});
    std::string p;
    std::vector<listed> exec = entries(exec_prefixes);
    std::vector<listed> want_exec = {{"/bdir/", 0, 0},
                                     {t.root() + "/bin/../libexec/vrk/", 0, 0},
                                     {"a/", 0, 0},
                                     {"./", 0, 0},
                                     {"b/", 0, 0}};
    exec.resize(5);
    p += compare("exec_prefixes", exec, want_exec);
    p += compare("include_prefixes", entries(include_prefixes),
                 {{"/bdir/", 0, 0}, {"a/", 0, 0}, {"./", 0, 0}, {"b/", 0, 0}});
    std::vector<listed> start = entries(startfile_prefixes);
    start.resize(4);
    p += compare("startfile_prefixes", start,
                 {{"/bdir/", 0, 0},
                  {t.root() + "/bin/../lib/vrk/", 0, 0},
                  {"/l1/", 0, 1},
                  {"/l2/", 0, 1}});
    return p;
  });
}

TEST(ProcessCommand, InputsOutputAndAuxiliaryNames) {
  relocated_tree t;
  in_child([&] {
    clear_environment();
    run_process_command(
        {t.driver(), "-c", "-o", "out/x.o", "x.c", "-Wa,-a", "-xc", "y", "-x", "none", "z.s"});
    std::string p;
    if (!stops_before_link)
      p += "stops_before_link not set\n";
    if (!output_stem || std::string(output_stem) != "x" || output_stem_length != 1)
      p += "output_stem wrong\n";
    if (!aux_dir || std::string(aux_dir) != "out/" || aux_dir_length != 4)
      p += "aux_dir wrong\n";
    std::string inputs;
    for (int i = 0; i < input_count; i++)
      inputs += std::string(input_entries[i].name) + ":" +
                (input_entries[i].language ? input_entries[i].language : "-") + " ";
    if (inputs != "x.c:- y:c z.s:- ")
      p += "inputs: " + inputs + "\n";
    if (input_entries[input_count].name || saved_switches[saved_switch_count].text)
      p += "arrays not terminated\n";
    std::string switches;
    for (int i = 0; i < saved_switch_count; i++)
      switches += std::string(saved_switches[i].text) + " ";
    if (switches != "c o ")
      p += "switches: " + switches + "\n";
    if (assembler_passthrough.size() != 1)
      p += "assembler options lost\n";
    if (undefined_env_tolerated)
      p += "undefined_env_tolerated for a compilation\n";
    return p;
  });
}

TEST(ProcessCommand, CommandLineDiagnostics) {
  relocated_tree t;
  EXPECT_EXIT(
      {
        clear_environment();
        run_process_command({t.driver(), "x.c", "-x", "c"});
        std::exit(seen_error() ? 1 : 0);
      },
      testing::ExitedWithCode(0), "-x c.* after last input file has no effect");
  EXPECT_EXIT(
      {
        clear_environment();
        run_process_command({t.driver(), "-o", "", "x.c"});
      },
      testing::ExitedWithCode(1), "output filename may not be empty");
  EXPECT_EXIT(
      {
        clear_environment();
        run_process_command({t.driver(), "-o", t.driver(), t.driver()});
      },
      testing::ExitedWithCode(1), "input file .* is the same as output file");
  EXPECT_EXIT(
      {
        clear_environment();
        run_process_command({t.driver(), "-save-temps", "-pipe", "x.c"});
        std::exit(global_options.x_use_pipes || save_temps_mode != keep_temps_auxdir);
      },
      testing::ExitedWithCode(0), "-pipe.* ignored because .*-save-temps.* specified");
}

TEST(ProcessCommand, InformationRequestsTolerateUndefinedVariables) {
  relocated_tree t;
  in_child([&] {
    clear_environment();
    run_process_command({t.driver(), "--help"});
    std::string p;
    if (!undefined_env_tolerated)
      p += "--help alone should tolerate undefined variables\n";
    if (input_count != 1 || std::string(input_entries[0].name) != "help-dummy" ||
        std::string(input_entries[0].language) != "c")
      p += "help-dummy input missing\n";
    return p;
  });
  in_child([&] {
    clear_environment();
    run_process_command({t.driver(), "-v"});
    return undefined_env_tolerated ? std::string() : std::string("-v alone\n");
  });
}

TEST(ProcessCommand, CompareDebugFromTheEnvironment) {
  relocated_tree t;
  in_child([&] {
    clear_environment();
    setenv("VRK_COMPARE_DEBUG", "-g0", 1);
    run_process_command({t.driver(), "-c", "x.c"});
    std::string last = saved_switches[saved_switch_count - 1].text;
    return compare_debug_mode == 1 && last == "fcompare-debug=-g0" ? std::string()
                                                                   : "got " + last + "\n";
  });
  in_child([&] {
    clear_environment();
    setenv("VRK_COMPARE_DEBUG", "0", 1);
    run_process_command({t.driver(), "-c", "x.c"});
    return compare_debug_mode == 0 ? std::string() : std::string("mode set by \"0\"\n");
  });
  in_child([&] {
    clear_environment();
    setenv("VRK_COMPARE_DEBUG", "1", 1);
    run_process_command({t.driver(), "-fno-compare-debug", "-c", "x.c"});
    return compare_debug_mode == 0 ? std::string() : std::string("negated option ignored\n");
  });
}

TEST(OptionCallbacks, UnknownOptionsAreSavedUnclaimed) {
  saved_switch_count = 0;
  decoded_option d{};
  d.opt_index = OPTION_UNKNOWN;
  d.arg = d.orig_text = d.canonical[0] = "-Wno-bogus-thing";
  d.canonical_count = 1;
  EXPECT_FALSE(driver_unknown_option_callback(&d));
  d.errors = OPTERR_NEGATIVE;
  d.arg = d.orig_text = d.canonical[0] = "-Wno-larger-than=5";
  EXPECT_FALSE(driver_unknown_option_callback(&d));
  d.errors = 0;
  d.arg = d.orig_text = d.canonical[0] = "-fbogus";
  EXPECT_FALSE(driver_unknown_option_callback(&d));
  ASSERT_EQ(saved_switch_count, 3);
  EXPECT_STREQ(saved_switches[0].text, "Wno-bogus-thing");
  EXPECT_TRUE(saved_switches[0].recognised);
  EXPECT_FALSE(saved_switches[1].recognised);
  EXPECT_FALSE(saved_switches[2].recognised);
  for (int i = 0; i < 3; i++)
    EXPECT_FALSE(saved_switches[i].claimed);
}

TEST(OptionCallbacks, WrongLanguageOptions) {
  saved_switch_count = 0;
  int errors = diagnostic_count(kind_error);
  decoded_option d{};
  const char *wall[] = {"-Wall", nullptr};
  decode_cmdline_option(wall, OPTF_DRIVER, &d);
  driver_wrong_lang_callback(&d, OPTF_DRIVER);
  ASSERT_EQ(saved_switch_count, 1);
  EXPECT_STREQ(saved_switches[0].text, "Wall");
  EXPECT_TRUE(saved_switches[0].recognised);
  EXPECT_FALSE(saved_switches[0].claimed);

  const char *quiet[] = {"-quiet", nullptr};
  decode_cmdline_option(quiet, OPTF_DRIVER, &d);
  driver_wrong_lang_callback(&d, OPTF_DRIVER);
  EXPECT_EQ(saved_switch_count, 1);
  EXPECT_EQ(diagnostic_count(kind_error), errors + 1);
}

} // namespace
