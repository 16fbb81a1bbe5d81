// driver_handle_option: what each driver option keeps as a switch for the
// specs (and whether it is claimed), and the driver's own actions.  Fatal
// option errors, messages, the queries that print and exit, and the linker
// inputs made from -Wl, -Xlinker and -l are checked by the driver tests.
#include "driver/driver-options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic-reporter.h"
#include "driver/command-line.h"
#include "options/option-table.h"
#include "support/scratch-dir-test-support.h"

namespace {

using texts = std::vector<std::string>;

texts as_texts(const std::vector<const char *> &list) { return texts(list.begin(), list.end()); }

class DriverOptions : public testing::Test {
protected:
  // Each saved switch as its text and separate arguments, blank-separated.
  texts switch_texts() const {
    texts out;
    for (const saved_switch &sw : comp.switches) {
      std::string s = sw.text;
      for (const char **a = sw.arguments; a && *a; a++)
        s += std::string(" ") + *a;
      out.push_back(s);
    }
    return out;
  }

  // Hand OPT (with ARG and VALUE) to the handler as the option machinery does.
  void handle(option_index opt, const char *arg = nullptr, std::int64_t value = 1) {
    decoded_option d{};
    generate_option(opt, arg, value, OPTF_DRIVER, &d);
    EXPECT_TRUE(driver_handle_option(&comp.options, &comp.options_set, &d, OPTF_DRIVER,
                                     kind_unspecified, UNKNOWN_LOCATION, &handlers,
                                     &global_reporter));
  }

  compilation comp;
  option_handler_set handlers = driver_option_handlers(comp);
};

TEST_F(DriverOptions, WhatIsSavedAndClaimed) {
  struct option_use {
    option_index opt;
    const char *arg = nullptr;
  };
  // Options the driver consumes (-F and -L push their switch themselves).
  for (option_use u : std::initializer_list<option_use>{
           {OPT____}, {OPT__no_sysroot_suffix}, {OPT_Wa_, "-a"}, {OPT_Wp_, "-DA"},
           {OPT_Wl_, "-z"}, {OPT_Xassembler, "-a"}, {OPT_Xpreprocessor, "-C"},
           {OPT_Xlinker, "-z"}, {OPT_l, "m"}, {OPT_x, "c"}, {OPT_print_libvrk_file_name},
           {OPT_time_, "/dev/null"}, {OPT_no_canonical_prefixes}, {OPT_pass_exit_codes},
           {OPT_print_file_name_, "crt1.o"}, {OPT_print_multi_directory}, {OPT_print_multi_lib},
           {OPT_print_multi_os_directory}, {OPT_print_multiarch}, {OPT_print_prog_name_, "as"},
           {OPT_print_search_dirs}, {OPT_print_sysroot}, {OPT_print_sysroot_headers_suffix},
           {OPT_time}, {OPT_wrapper, "gdb"}}) {
    comp.switches.clear();
    handle(u.opt, u.arg);
    EXPECT_EQ(comp.switches.count(), 0) << option_table[u.opt].text;
  }

  struct {
    option_index opt;
    const char *arg;
    const char *saved;
    bool claimed;
  } rows[] = {
      {OPT__completion_, "-fo", "-completion=-fo", true},
      {OPT__help, nullptr, "-help", false},
      {OPT__help_, "common", "-help=common", false},
      {OPT__target_help, nullptr, "-target-help", false},
      {OPT__version, nullptr, "-version", false},
      {OPT__sysroot_, "/s", "-sysroot=/s", true},
      {OPT_E, nullptr, "E", false},
      {OPT_F, "fw", "Ffw", false},
      {OPT_L, "dir", "Ldir", false},
      {OPT_o, "out/prog", "o out/prog", false},
      {OPT_dumpbase, "b", "dumpbase b", false},
      {OPT_dumpdir, "d/", "dumpdir d/", false},
      {OPT_fcompare_debug_second, nullptr, "fcompare-debug-second", false},
      {OPT_foffload_options_, "-O2", "foffload-options=-O2", false},
      {OPT_fuse_ld_lld, nullptr, "fuse-ld=lld", false},
      {OPT_fwpa, nullptr, "fwpa", false},
      {OPT_pipe, nullptr, "pipe", true},
      {OPT_shared_libvrk, nullptr, "shared-libvrk", true},
      {OPT_static_libvrk, nullptr, "static-libvrk", true},
      {OPT_static_libstdc__, nullptr, "static-libstdc++", true},
      {OPT_static_libasan, nullptr, "static-libasan", true},
      {OPT_save_temps, nullptr, "save-temps", true},
      {OPT_save_temps_, "cwd", "save-temps=cwd", false},
      {OPT_specs_, "my.specs", "specs=my.specs", true},
      {OPT_c, nullptr, "c", false},
      {OPT_v, nullptr, "v", false},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(option_table[r.opt].text);
    comp.switches.clear();
    handle(r.opt, r.arg);
    EXPECT_EQ(switch_texts(), texts{r.saved});
    EXPECT_EQ(comp.switches[0].claimed, r.claimed);
    EXPECT_TRUE(comp.switches[0].recognised);
  }
}

TEST_F(DriverOptions, ForwardedOptionsAndVariablesSet) {
  // Every comma starts a piece, empty ones included.
  for (auto [opt, arg] : {std::pair<option_index, const char *>{OPT_Wa_, "-a,,-b"}, {OPT_Wa_, ""},
                          {OPT_Xassembler, "-x,y"}, {OPT_Wp_, "-DA,-DB"}, {OPT_Xpreprocessor, "-C"},
                          {OPT__help, nullptr}, {OPT__version, nullptr}})
    handle(opt, arg);
  EXPECT_EQ(as_texts(comp.assembler_passthrough),
            (texts{"-a", "", "-b", "", "-x,y", "--help", "--version"}));
  EXPECT_EQ(as_texts(comp.preprocessor_passthrough), (texts{"-DA", "-DB", "-C"}));
  EXPECT_EQ(as_texts(comp.linker_passthrough), (texts{"--help", "--version"}));

  // -x none forgets the language but not where the last one was given.
  handle(OPT_x, "c");
  EXPECT_STREQ(comp.language_override, "c");
  EXPECT_EQ(comp.language_override_input_count, 0);
  handle(OPT_l, "m");
  handle(OPT_x, "none");
  EXPECT_EQ(comp.language_override, nullptr);
  EXPECT_EQ(comp.language_override_input_count, 0);

  handle(OPT_fwpa);
  ASSERT_NE(comp.options.x_flag_wpa, nullptr);
  EXPECT_STREQ(comp.options.x_flag_wpa, "");

  // A plain -save-temps does not undo an explicit choice (the driver tests
  // check the directories of each form and the order of -dumpdir and
  // -save-temps=obj).
  handle(OPT_save_temps_, "cwd");
  handle(OPT_save_temps);
  EXPECT_EQ(comp.save_temps_mode, keep_temps_cwd);
  EXPECT_TRUE(comp.temps_option_overrides_dir);
  handle(OPT_save_temps_, "object");
  EXPECT_EQ(comp.save_temps_mode, keep_temps_objdir);
}

TEST_F(DriverOptions, BDirectoriesGoFirstOnAllThreeLists) {
  scratch_dir t;
  search_paths &search = comp.search;
  prefix_list *lists[] = {&search.exec_prefixes, &search.startfile_prefixes,
                          &search.include_prefixes};
  search.add_search_prefix(search.exec_prefixes, "/other/", nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  // An existing directory gets its "/"; anything else is a plain text
  // prefix.  The switch keeps the name as written.
  handle(OPT_B, t.root().c_str());
  handle(OPT_B, "/x/pre-");
  for (prefix_list *list : lists) {
    ASSERT_NE(list->plist, nullptr);
    EXPECT_EQ(list->plist->prefix, t.root() + "/");
    EXPECT_EQ(list->plist->priority, PREFIX_PRIORITY_B_OPT);
    ASSERT_NE(list->plist->next, nullptr);
    EXPECT_STREQ(list->plist->next->prefix, "/x/pre-");
  }
  EXPECT_STREQ(search.exec_prefixes.plist->next->next->prefix, "/other/");
  EXPECT_EQ(switch_texts(), (texts{"B " + t.root(), "B /x/pre-"}));
  EXPECT_TRUE(comp.switches[0].claimed);
}

TEST_F(DriverOptions, CompareDebugFormsAndDateStamp) {
  unsetenv("SOURCE_DATE_EPOCH");
  const compare_debug_state &cd = comp.compare_debug;
  handle(OPT_fcompare_debug);
  EXPECT_EQ(cd.mode, 1);
  EXPECT_STREQ(cd.option, "-gtoggle");
  ASSERT_NE(std::getenv("SOURCE_DATE_EPOCH"), nullptr);
  EXPECT_GT(std::atoll(std::getenv("SOURCE_DATE_EPOCH")), 0);
  setenv("SOURCE_DATE_EPOCH", "42", 1);
  handle(OPT_fcompare_debug, nullptr, 0);
  EXPECT_EQ(cd.mode, -1);
  EXPECT_EQ(cd.option, nullptr);
  EXPECT_STREQ(std::getenv("SOURCE_DATE_EPOCH"), "42");  // never overwritten
  handle(OPT_fcompare_debug_, "-g0");
  EXPECT_EQ(cd.mode, 1);
  EXPECT_STREQ(cd.option, "-g0");
  handle(OPT_fcompare_debug_, "");
  EXPECT_EQ(cd.mode, -1);
  EXPECT_EQ(switch_texts(), (texts{"fcompare-debug=-gtoggle", "fcompare-debug=",
                                   "fcompare-debug=-g0", "fcompare-debug="}));
  for (const saved_switch &sw : comp.switches)
    EXPECT_FALSE(sw.claimed);
  unsetenv("SOURCE_DATE_EPOCH");
}

TEST_F(DriverOptions, OffloadTargets) {
  // The messages are checked by the driver tests.
  handle(OPT_foffload_, "disable");
  EXPECT_STREQ(comp.offload_target_list, "");
  handle(OPT_foffload_, "default");
  EXPECT_EQ(comp.offload_target_list, nullptr);
  // No offload target is configured: a real name empties the list; options
  // after "=" are still passed on, and an empty target name is accepted.
  handle(OPT_foffload_, "nvptx-none=-O3");
  EXPECT_STREQ(comp.offload_target_list, "");
  handle(OPT_foffload_, "-O2");
  handle(OPT_foffload_, "=-g");
  handle(OPT_foffload_, "");
  int errors = diagnostic_count(kind_error);
  handle(OPT_foffload_options_, "=-O1");
  EXPECT_EQ(diagnostic_count(kind_error), errors);
  EXPECT_EQ(switch_texts(), (texts{"foffload-options=nvptx-none=-O3", "foffload-options=-O2",
                                   "foffload-options==-g", "foffload-options==-O1"}));
}

} // namespace
