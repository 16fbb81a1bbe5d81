// The driver's side of command execution.
#include "driver/run-commands.h"

#include "diagnostics/diagnostic.h"
#include "driver/child-env.h"
#include "driver/driver-state.h"
#include "options/option-table.h"
#include "spec/interpreter.h"

void (*version_banner_printer)(std::FILE *) = nullptr;

execute_context current_execute_context() {
  execute_context ctx;
  ctx.verbose = global_options.x_verbose_flag != 0 || dry_run_count > 0;
  ctx.dry_run = dry_run_count > 0;
  ctx.help_requested = help_requested;
  ctx.wrapper = global_options.x_wrapper_string;
  ctx.report_times = global_options.x_report_times != 0;
  ctx.timing_report_file = timing_report_file;
  ctx.report_bug = global_options.x_flag_report_bug != 0;
  ctx.program_name = invocation_name ? invocation_name : "";
  ctx.temp_base = last_temp_base();
  ctx.current_input = input_name;
  ctx.programs = &run_paths;
  ctx.print_version_banner = version_banner_printer;
  ctx.worst_exit_status = &worst_exit_status;
  ctx.signalled_children = &signalled_children;
  ctx.executed_group_count = &executed_group_count;
  return ctx;
}

int execute_arg_buffer() {
  // A command run from inside a spec function's arguments would escape the
  // argument state the function saved.
  vrk_assert(spec_function_depth == 0);
  if (arg_buffer.empty())
    return 0;
  return execute(arg_buffer, current_execute_context());
}

void install_command_execution() {
  execute_command_hook = execute_arg_buffer;
  export_options_hook = export_vrk_options;
}
