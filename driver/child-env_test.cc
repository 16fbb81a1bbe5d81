// The variables exported for the child programs: the quoting and blanks of
// the option list, and the cases the driver tests cannot set up (exports
// with their -v echo, the -dumpdir tail, MAKEFLAGS and the search paths
// are checked there).
#include "driver/child-env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/driver-state.h"
#include "driver/switches.h"
#include "process/prefixes.h"
#include "spec/spec-list.h"
#include "support/scratch-dir-test-support.h"
#include "support/text.h"

namespace {

std::string env_value(const char *name) {
  const char *v = std::getenv(name);
  return v ? v : "<unset>";
}

TEST(ChildEnv, OptionListQuotesSwitchesArgumentsAndKeepsBlanksOfRemovedOnes) {
  saved_switch *old_switches = saved_switches;
  int old_count = saved_switch_count;
  const char *o_args[] = {"a b", nullptr};
  const char *x_args[] = {"'", "", nullptr};
  saved_switch list[] = {
      {"gone", nullptr, live_removed, true, true, false},
      {"DX=it's", nullptr, live_yes, true, true, false},
      {"o", o_args, 0, true, true, false},
      {"Xlinker", x_args, 0, true, true, false},
      {"removed", nullptr, live_removed | live_removed_by_self_spec, true, true, false},
      {"kept", nullptr, live_removed | live_keep_for_children, true, true, false},
      {"b", nullptr, live_no, true, true, false},
      {"last", nullptr, live_removed, true, true, false},
  };
  saved_switches = list;
  saved_switch_count = 8;
  // Removed switches vanish but their separators stay; a switch removed
  // only for the specs is still listed, and so is one not live.
  EXPECT_EQ(collect_vrk_options_value(),
            " '-DX=it'\\''s' '-o' 'a b' '-Xlinker' ''\\''' ''  '-kept' '-b' ");
  // Without switches the -dumpdir tail has no blank in front.
  saved_switch_count = 0;
  aux_dir = "out/it's-";
  EXPECT_EQ(collect_vrk_options_value(), "'-dumpdir' 'out/it'\\''s-'");
  aux_dir = nullptr;
  EXPECT_EQ(collect_vrk_options_value(), "");
  saved_switches = old_switches;
  saved_switch_count = old_count;
}

TEST(ChildEnv, AssemblerOptionsAndOffloadTargets) {
  // Quotes inside an assembler option are not escaped.
  assembler_passthrough = {"-a", "x'y"};
  export_assembler_options();
  EXPECT_EQ(env_value("COLLECT_AS_OPTIONS"), "'-a' 'x'y'");
  assembler_passthrough.clear();

  // The offload list is exported only when not empty, and released.
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

TEST(ChildEnv, LtoWrapperPathHasItsBlanksAndTabsEscaped) {
  scratch_dir t;
  std::string dir = t.dir("with blank\tand tab") + "/";
  t.script("with blank\tand tab/ltorelay", "");
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
  std::string escaped = t.root() + "/with\\ blank\\\tand\\ tab/ltorelay";
  EXPECT_EQ(env_value("COLLECT_LTO_WRAPPER"), escaped);
  EXPECT_EQ(std::string(lto_wrapper_spec), escaped);

  free_prefix_list(&exec_prefixes);
  exec_prefixes = saved_exec;
  set_static_spec(&lto_wrapper_spec, saved_spec, false);
  unsetenv("COLLECT_LTO_WRAPPER");
}

}  // namespace
