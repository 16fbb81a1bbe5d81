// driver_handle_option: the driver's own actions on options and what it
// keeps as switches for the specs.
#include "driver/driver-options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "process/prefixes.h"

namespace {

using texts = std::vector<std::string>;

texts as_texts(const std::vector<const char *> &list) { return texts(list.begin(), list.end()); }

texts switch_texts() {
  texts out;
  for (int i = 0; i < saved_switch_count; i++)
    out.push_back(saved_switches[i].text);
  return out;
}

texts input_texts() {
  texts out;
  for (int i = 0; i < input_count; i++)
    out.push_back(std::string(input_entries[i].name) + "@" +
                  (input_entries[i].language ? input_entries[i].language : "-"));
  return out;
}

class DriverOptions : public testing::Test {
protected:
  void SetUp() override {
    init_options_struct(&global_options, &global_options_set);
    saved_switch_count = 0;
    input_count = 0;
    assembler_passthrough.clear();
    preprocessor_passthrough.clear();
    linker_passthrough.clear();
    user_spec_files.clear();
    save_temps_mode = keep_temps_off;
    temps_option_overrides_dir = false;
    dumpdir_given = false;
    aux_dir = nullptr;
    language_override = nullptr;
    language_override_input_count = -1;
    offload_target_list = nullptr;
    compare_debug_mode = 0;
    compare_debug_option = nullptr;
    dry_run_count = 0;
  }

  // Hand OPT (with ARG and VALUE) to the handler as the option machinery does.
  void handle(option_index opt, const char *arg = nullptr, std::int64_t value = 1) {
    decoded_option d{};
    generate_option(opt, arg, value, OPTF_DRIVER, &d);
    EXPECT_TRUE(driver_handle_option(&global_options, &global_options_set, &d, OPTF_DRIVER,
                                     kind_unspecified, UNKNOWN_LOCATION, nullptr,
                                     &global_reporter));
  }
};

TEST_F(DriverOptions, PassthroughListsSplitAtEveryComma) {
  handle(OPT_Wa_, "-a,,-b");
  handle(OPT_Wa_, "");
  handle(OPT_Xassembler, "-x,y");
  EXPECT_EQ(as_texts(assembler_passthrough), (texts{"-a", "", "-b", "", "-x,y"}));
  handle(OPT_Wp_, "-DA,-DB");
  handle(OPT_Xpreprocessor, "-C");
  EXPECT_EQ(as_texts(preprocessor_passthrough), (texts{"-DA", "-DB", "-C"}));
  EXPECT_EQ(saved_switch_count, 0);
}

TEST_F(DriverOptions, LinkerInputsKeepTheirPlaceAmongInputs) {
  add_input("a.o", nullptr);
  handle(OPT_Wl_, "-rpath,/x");
  handle(OPT_Xlinker, "--gc-sections");
  handle(OPT_l, "m");
  add_input("b.o", nullptr);
  EXPECT_EQ(input_texts(),
            (texts{"a.o@-", "-rpath@*", "/x@*", "--gc-sections@*", "-lm@*", "b.o@-"}));
  EXPECT_EQ(saved_switch_count, 0);
}

TEST_F(DriverOptions, LanguageOverrideAndItsInputCount) {
  add_input("a", nullptr);
  handle(OPT_x, "c");
  EXPECT_STREQ(language_override, "c");
  EXPECT_EQ(language_override_input_count, 1);
  handle(OPT_x, "none");
  EXPECT_EQ(language_override, nullptr);
  EXPECT_EQ(language_override_input_count, 1);
  EXPECT_EQ(saved_switch_count, 0);
}

TEST_F(DriverOptions, SavedSwitchesAndClaims) {
  handle(OPT_o, "out/prog");
  handle(OPT_specs_, "my.specs");
  handle(OPT_pipe);
  handle(OPT_E);
  handle(OPT_F, "fw");
  handle(OPT____);
  handle(OPT_print_search_dirs);
  EXPECT_TRUE(output_given);
  EXPECT_STREQ(output_name, "out/prog");
  EXPECT_TRUE(preprocess_only_given);
  EXPECT_EQ(as_texts(user_spec_files), texts{"my.specs"});
  EXPECT_EQ(dry_run_count, 1);
  EXPECT_EQ(global_options.x_verbose_flag, 1);
  ASSERT_EQ(switch_texts(), (texts{"o", "specs=my.specs", "pipe", "E", "Ffw"}));
  EXPECT_STREQ(saved_switches[0].arguments[0], "out/prog");
  EXPECT_EQ(saved_switches[0].arguments[1], nullptr);
  std::vector<bool> claimed;
  for (int i = 0; i < saved_switch_count; i++) {
    claimed.push_back(saved_switches[i].claimed);
    EXPECT_TRUE(saved_switches[i].recognised);
  }
  EXPECT_EQ(claimed, (std::vector<bool>{false, true, true, false, false}));
}

TEST_F(DriverOptions, SaveTempsForms) {
  handle(OPT_save_temps);
  EXPECT_EQ(save_temps_mode, keep_temps_auxdir);
  EXPECT_FALSE(temps_option_overrides_dir);
  handle(OPT_save_temps_, "cwd");
  EXPECT_EQ(save_temps_mode, keep_temps_cwd);
  EXPECT_TRUE(temps_option_overrides_dir);
  handle(OPT_save_temps);  // does not undo an explicit choice
  EXPECT_EQ(save_temps_mode, keep_temps_cwd);
  handle(OPT_save_temps_, "object");
  EXPECT_EQ(save_temps_mode, keep_temps_objdir);
  handle(OPT_save_temps_, "obj");
  EXPECT_EQ(save_temps_mode, keep_temps_objdir);
  // -dumpdir after -save-temps= prevails again.
  handle(OPT_dumpdir, "d/");
  EXPECT_FALSE(temps_option_overrides_dir);
  EXPECT_TRUE(dumpdir_given);
  EXPECT_STREQ(aux_dir, "d/");
}

TEST_F(DriverOptions, UnknownSaveTempsArgumentIsFatal) {
  EXPECT_EXIT(handle(OPT_save_temps_, "objx"), testing::ExitedWithCode(1),
              "save-temps=objx.* is an unknown .*-save-temps.* option");
}

TEST_F(DriverOptions, BDirectoriesGoFirstOnAllThreeLists) {
  char pattern[] = "/tmp/vrk-bopt-XXXXXX";
  std::string dir = mkdtemp(pattern);
  free_prefix_list(&exec_prefixes);
  free_prefix_list(&startfile_prefixes);
  free_prefix_list(&include_prefixes);
  add_search_prefix(&exec_prefixes, "/other/", nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  handle(OPT_B, dir.c_str());
  handle(OPT_B, "/x/pre-");
  for (prefix_list *list : {&exec_prefixes, &startfile_prefixes, &include_prefixes}) {
    ASSERT_NE(list->plist, nullptr);
    EXPECT_EQ(std::string(list->plist->prefix), dir + "/");
    EXPECT_EQ(list->plist->priority, PREFIX_PRIORITY_B_OPT);
    ASSERT_NE(list->plist->next, nullptr);
    EXPECT_STREQ(list->plist->next->prefix, "/x/pre-");
  }
  EXPECT_STREQ(exec_prefixes.plist->next->next->prefix, "/other/");
  // The switch keeps the directory as written, and is claimed.
  ASSERT_EQ(saved_switch_count, 2);
  std::string text = saved_switches[0].text;
  std::string arg = saved_switches[0].arguments ? saved_switches[0].arguments[0] : "";
  EXPECT_EQ(text + arg, "B" + dir);
  EXPECT_TRUE(saved_switches[0].claimed);
  free_prefix_list(&exec_prefixes);
  free_prefix_list(&startfile_prefixes);
  free_prefix_list(&include_prefixes);
  rmdir(dir.c_str());
}

TEST_F(DriverOptions, CompareDebugFormsAndDateStamp) {
  unsetenv("SOURCE_DATE_EPOCH");
  handle(OPT_fcompare_debug);
  EXPECT_EQ(compare_debug_mode, 1);
  EXPECT_STREQ(compare_debug_option, "-gtoggle");
  ASSERT_NE(std::getenv("SOURCE_DATE_EPOCH"), nullptr);
  EXPECT_GT(std::atoll(std::getenv("SOURCE_DATE_EPOCH")), 0);
  setenv("SOURCE_DATE_EPOCH", "42", 1);
  handle(OPT_fcompare_debug, nullptr, 0);
  EXPECT_EQ(compare_debug_mode, -1);
  EXPECT_EQ(compare_debug_option, nullptr);
  EXPECT_STREQ(std::getenv("SOURCE_DATE_EPOCH"), "42");  // never overwritten
  handle(OPT_fcompare_debug_, "-g0");
  EXPECT_EQ(compare_debug_mode, 1);
  EXPECT_STREQ(compare_debug_option, "-g0");
  handle(OPT_fcompare_debug_, "");
  EXPECT_EQ(compare_debug_mode, -1);
  EXPECT_EQ(switch_texts(), (texts{"fcompare-debug=-gtoggle", "fcompare-debug=",
                                   "fcompare-debug=-g0", "fcompare-debug="}));
  for (int i = 0; i < saved_switch_count; i++)
    EXPECT_FALSE(saved_switches[i].claimed);
  unsetenv("SOURCE_DATE_EPOCH");
}

TEST_F(DriverOptions, OffloadTargets) {
  int errors = diagnostic_count(kind_error);
  handle(OPT_foffload_, "disable");
  EXPECT_STREQ(offload_target_list, "");
  handle(OPT_foffload_, "default");
  EXPECT_EQ(offload_target_list, nullptr);
  EXPECT_EQ(saved_switch_count, 0);
  EXPECT_EQ(diagnostic_count(kind_error), errors);

  // No offload target is configured: a real name is an error and empties
  // the list; options after "=" are still passed on.
  handle(OPT_foffload_, "nvptx-none=-O3");
  EXPECT_STREQ(offload_target_list, "");
  EXPECT_EQ(diagnostic_count(kind_error), errors + 1);
  handle(OPT_foffload_, "-O2");
  handle(OPT_foffload_, "=-g");
  handle(OPT_foffload_, "");
  EXPECT_EQ(switch_texts(), (texts{"foffload-options=nvptx-none=-O3",
                                   "foffload-options=-O2", "foffload-options==-g"}));

  handle(OPT_foffload_options_, "-O2");
  EXPECT_EQ(diagnostic_count(kind_error), errors + 1);
  handle(OPT_foffload_options_, "amdgcn");
  EXPECT_EQ(diagnostic_count(kind_error), errors + 2);
  handle(OPT_foffload_options_, "=-O1");  // empty target name: accepted
  EXPECT_EQ(diagnostic_count(kind_error), errors + 2);
  EXPECT_EQ(saved_switch_count, 6);
}

TEST_F(DriverOptions, VariablesTheTableCannotExpress) {
  handle(OPT_fuse_ld_mold);
  EXPECT_STREQ(linker_flavour_suffix, ".mold");
  handle(OPT_fuse_ld_tradl);
  EXPECT_STREQ(linker_flavour_suffix, ".tradl");
  handle(OPT_print_libvrk_file_name);
  EXPECT_STREQ(global_options.x_print_file_name, "libvrk.a");
  handle(OPT_fwpa);
  ASSERT_NE(global_options.x_flag_wpa, nullptr);
  EXPECT_STREQ(global_options.x_flag_wpa, "");
  handle(OPT__help);
  handle(OPT__version);
  EXPECT_TRUE(help_requested);
  EXPECT_TRUE(version_requested);
  EXPECT_EQ(as_texts(linker_passthrough), (texts{"--help", "--version"}));
  EXPECT_EQ(switch_texts(), (texts{"fuse-ld=mold", "fuse-ld=tradl", "fwpa", "-help", "-version"}));
}

TEST_F(DriverOptions, QueriesPrintAndExit) {
  EXPECT_EXIT(handle(OPT_dumpversion), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(handle(OPT_dumpmachine), testing::ExitedWithCode(0), "");
}

} // namespace
