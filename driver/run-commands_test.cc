// The driver's execution glue: the interpreter's seams reach execute with
// the driver's options and counters.
#include "driver/run-commands.h"

#include <gtest/gtest.h>

#include "diagnostics/diagnostic.h"
#include "driver/child-env.h"
#include "driver/driver-state.h"
#include "options/option-table.h"
#include "spec/interpreter.h"

namespace {

class RunCommands : public testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    saved_dry_run_ = dry_run_count;
    saved_groups_ = executed_group_count;
    saved_options_ = global_options;
    saved_help_ = help_requested;
    help_requested = false;
    arg_buffer.clear();
  }
  void TearDown() override {
    dry_run_count = saved_dry_run_;
    executed_group_count = saved_groups_;
    global_options = saved_options_;
    help_requested = saved_help_;
    arg_buffer.clear();
    execute_command_hook = nullptr;
    export_options_hook = nullptr;
  }
  int saved_dry_run_ = 0;
  int saved_groups_ = 0;
  bool saved_help_ = false;
  option_values saved_options_{};
};

TEST_F(RunCommands, HooksRunTheBufferWithTheDriverSettings) {
  install_command_execution();
  ASSERT_EQ(execute_command_hook, &execute_arg_buffer);
  ASSERT_EQ(export_options_hook, &export_vrk_options);

  dry_run_count = 1;
  global_options.x_wrapper_string = nullptr;
  int before = executed_group_count;
  arg_buffer = {"no-such-program-here", "a b", ""};
  testing::internal::CaptureStderr();
  EXPECT_EQ(execute_command_hook(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), " no-such-program-here \"a b\" \"\"\n");
  EXPECT_EQ(executed_group_count, before + 1);

  execute_context ctx = current_execute_context();
  EXPECT_TRUE(ctx.verbose);
  EXPECT_TRUE(ctx.dry_run);
  EXPECT_EQ(ctx.worst_exit_status, &worst_exit_status);
  EXPECT_EQ(ctx.signalled_children, &signalled_children);
}

TEST_F(RunCommands, NoCommandFromInsideSpecFunctionArguments) {
  arg_buffer = {"sh", "-c", "exit 0"};
  spec_function_depth = 1;
  EXPECT_EXIT(execute_arg_buffer(), testing::ExitedWithCode(4), "");
  spec_function_depth = 0;
}

}  // namespace
