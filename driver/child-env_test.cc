// The variables exported for the child programs: their exact texts and
// quoting, and when they are left unset.
#include "driver/child-env.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/jobserver.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

std::string env_value(const char *name) {
  const char *v = std::getenv(name);
  return v ? v : "<unset>";
}

class ChildEnv : public testing::Test {
protected:
  void SetUp() override {
    old_switches_ = saved_switches;
    old_count_ = saved_switch_count;
    aux_dir = nullptr;
    global_options.x_verbose_flag = 0;
  }
  void TearDown() override {
    saved_switches = old_switches_;
    saved_switch_count = old_count_;
    aux_dir = nullptr;
    assembler_passthrough.clear();
    global_options.x_verbose_flag = 0;
  }
  void use_switches(saved_switch *list, int count) {
    saved_switches = list;
    saved_switch_count = count;
  }

  saved_switch *old_switches_ = nullptr;
  int old_count_ = 0;
};

TEST_F(ChildEnv, OptionListQuotesSwitchesAndArguments) {
  const char *o_args[] = {"a b", nullptr};
  const char *x_args[] = {"'", "", nullptr};
  saved_switch list[] = {
      {"DX=it's", nullptr, live_yes, true, true, false},
      {"o", o_args, 0, true, true, false},
      {"Xlinker", x_args, 0, true, true, false},
  };
  use_switches(list, 3);
  EXPECT_EQ(collect_vrk_options_value(), "'-DX=it'\\''s' '-o' 'a b' '-Xlinker' ''\\''' ''");
}

TEST_F(ChildEnv, RemovedSwitchesLeaveTheirBlank) {
  saved_switch list[] = {
      {"gone", nullptr, live_removed, true, true, false},
      {"a", nullptr, 0, true, true, false},
      {"removed", nullptr, live_removed | live_removed_by_self_spec, true, true, false},
      {"kept", nullptr, live_removed | live_keep_for_children, true, true, false},
      {"b", nullptr, live_no, true, true, false},
      {"last", nullptr, live_removed, true, true, false},
  };
  use_switches(list, 6);
  // "gone" and "removed" vanish but their separators stay; a switch removed
  // only for the specs is still listed; one not live is listed too.
  EXPECT_EQ(collect_vrk_options_value(), " '-a'  '-kept' '-b' ");
}

TEST_F(ChildEnv, DumpdirTail) {
  saved_switch list[] = {{"c", nullptr, 0, true, true, false}};
  aux_dir = "out/it's-";
  use_switches(list, 1);
  EXPECT_EQ(collect_vrk_options_value(), "'-c' '-dumpdir' 'out/it'\\''s-'");
  use_switches(list, 0);
  EXPECT_EQ(collect_vrk_options_value(), "'-dumpdir' 'out/it'\\''s-'");
  aux_dir = nullptr;
  EXPECT_EQ(collect_vrk_options_value(), "");

  // The export is rebuilt from the current list every time.
  use_switches(list, 1);
  export_vrk_options();
  EXPECT_EQ(env_value("COLLECT_VRK_OPTIONS"), "'-c'");
  list[0].liveness = live_removed;
  export_vrk_options();
  EXPECT_EQ(env_value("COLLECT_VRK_OPTIONS"), "");
}

TEST_F(ChildEnv, AssemblerOptionsAndDriverPath) {
  unsetenv("COLLECT_AS_OPTIONS");
  export_assembler_options();
  EXPECT_EQ(env_value("COLLECT_AS_OPTIONS"), "<unset>");
  assembler_passthrough = {"-a", "-b", "x'y"};
  export_assembler_options();
  // Quotes inside an entry are not escaped.
  EXPECT_EQ(env_value("COLLECT_AS_OPTIONS"), "'-a' '-b' 'x'y'");

  // Under -v every export is echoed on standard error.
  global_options.x_verbose_flag = 1;
  testing::internal::CaptureStderr();
  export_driver_path("../bin/vrk++");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "COLLECT_VRK=../bin/vrk++\n");
  EXPECT_EQ(env_value("COLLECT_VRK"), "../bin/vrk++");
}

TEST_F(ChildEnv, OffloadTargetsOnlyWhenNotEmpty) {
  unsetenv("OFFLOAD_TARGET_NAMES");
  offload_target_list = xstrdup("");
  export_offload_targets();
  EXPECT_EQ(env_value("OFFLOAD_TARGET_NAMES"), "<unset>");
  EXPECT_EQ(offload_target_list, nullptr);
  export_offload_targets();
  EXPECT_EQ(env_value("OFFLOAD_TARGET_NAMES"), "<unset>");
  offload_target_list = xstrdup("nvptx-none:amdgcn-amdhsa");
  export_offload_targets();
  EXPECT_EQ(env_value("OFFLOAD_TARGET_NAMES"), "nvptx-none:amdgcn-amdhsa");
  EXPECT_EQ(offload_target_list, nullptr);
}

TEST_F(ChildEnv, LtoWrapperPathAndSearchPaths) {
  char templ[] = "/tmp/vrk-env-XXXXXX";
  ASSERT_NE(mkdtemp(templ), nullptr);
  std::string dir = std::string(templ) + "/with blank\tand tab/";
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  std::string relay = dir + "ltorelay";
  std::ofstream(relay) << "#!/bin/sh\n";
  chmod(relay.c_str(), 0755);

  prefix_list saved_exec = exec_prefixes;
  exec_prefixes = prefix_list{nullptr, 0, "exec"};
  add_search_prefix(&exec_prefixes, dir.c_str(), "VRK", PREFIX_PRIORITY_LAST, 0, 0);
  const char *saved_spec = lto_wrapper_spec;
  unsetenv("COLLECT_LTO_WRAPPER");

  stops_before_link = true;
  export_lto_wrapper_path();
  EXPECT_EQ(env_value("COLLECT_LTO_WRAPPER"), "<unset>");

  stops_before_link = false;
  export_lto_wrapper_path();
  std::string escaped = std::string(templ) + "/with\\ blank\\\tand\\ tab/ltorelay";
  EXPECT_EQ(env_value("COLLECT_LTO_WRAPPER"), escaped);
  EXPECT_EQ(std::string(lto_wrapper_spec), escaped);

  export_compiler_path();
  EXPECT_EQ(env_value("COMPILER_PATH").rfind(dir, 0), 0u) << env_value("COMPILER_PATH");

  free_prefix_list(&exec_prefixes);
  exec_prefixes = saved_exec;
  set_static_spec(&lto_wrapper_spec, saved_spec, false);
  std::system(("rm -rf '" + std::string(templ) + "'").c_str());
}

TEST_F(ChildEnv, MakeflagsReplacedOnlyForAnUnusableJobserver) {
  setenv("MAKEFLAGS", "original", 1);
  jobserver_state usable;
  usable.active = true;
  export_makeflags(usable);
  EXPECT_EQ(env_value("MAKEFLAGS"), "original");
  jobserver_state unusable;
  unusable.skipped_makeflags = "MAKEFLAGS= -j8 ";
  export_makeflags(unusable);
  EXPECT_EQ(env_value("MAKEFLAGS"), " -j8 ");
  unsetenv("MAKEFLAGS");
}

TEST(ChildEnvText, EscapeWhiteSpace) {
  char *s = escape_white_space("a b\tc\\d");
  EXPECT_STREQ(s, "a\\ b\\\tc\\d");
  std::free(s);
}

}  // namespace
