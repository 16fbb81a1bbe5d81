// The variables exported for the child programs: the quoting and blanks of
// the option list, and the cases the driver tests cannot set up (exports
// with their -v echo, the -dumpdir tail, MAKEFLAGS, the search paths and
// the escaped path of the LTO wrapper are checked there).
#include "driver/child-env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "compilation/compilation.h"
#include "support/text.h"

namespace {

std::string env_value(const char *name) {
  const char *v = std::getenv(name);
  return v ? v : "<unset>";
}

TEST(ChildEnv, OptionListQuotesSwitchesArgumentsAndKeepsBlanksOfRemovedOnes) {
  compilation comp;
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
  for (const saved_switch &sw : list) {
    comp.switches.push(sw.text);
    comp.switches[comp.switches.count() - 1] = sw;
  }
  // Removed switches vanish but their separators stay; a switch removed
  // only for the specs is still listed, and so is one not live.
  EXPECT_EQ(collect_vrk_options_value(comp),
            " '-DX=it'\\''s' '-o' 'a b' '-Xlinker' ''\\''' ''  '-kept' '-b' ");
  // Without switches the -dumpdir tail has no blank in front.
  comp.switches.clear();
  comp.aux_dir = "out/it's-";
  EXPECT_EQ(collect_vrk_options_value(comp), "'-dumpdir' 'out/it'\\''s-'");
  comp.aux_dir = nullptr;
  EXPECT_EQ(collect_vrk_options_value(comp), "");
}

TEST(ChildEnv, AssemblerOptionsAndOffloadTargets) {
  compilation comp;
  // Quotes inside an assembler option are not escaped.
  comp.assembler_passthrough = {"-a", "x'y"};
  export_assembler_options(comp);
  EXPECT_EQ(env_value("COLLECT_AS_OPTIONS"), "'-a' 'x'y'");

  // No offload target is configured: the list is empty or unset, never
  // exported, and released.
  unsetenv("OFFLOAD_TARGET_NAMES");
  comp.offload_target_list = xstrdup("");
  export_offload_targets(comp);
  EXPECT_EQ(env_value("OFFLOAD_TARGET_NAMES"), "<unset>");
  EXPECT_EQ(comp.offload_target_list, nullptr);
  export_offload_targets(comp);
  EXPECT_EQ(env_value("OFFLOAD_TARGET_NAMES"), "<unset>");
}

}  // namespace
