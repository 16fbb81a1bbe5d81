// The variables exported for the child programs: the quoting and blanks of
// the option list, and the cases the driver tests cannot set up (exports
// with their -v echo, the -dumpdir tail, MAKEFLAGS, the search paths and
// the escaped path of the LTO wrapper are checked there).
#include "driver/child-env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/driver-state.h"
#include "driver/switches.h"
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

}  // namespace
