// The driver's side of command execution.
#include "driver/run-commands.h"

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "driver/child-env.h"
#include "driver/plan.h"
#include "driver/queries.h"
#include "spec/interpreter.h"

execute_context current_execute_context(spec_interpreter &in) {
  compilation &comp = in.comp;
  const option_values &opts = comp.options;
  execute_context ctx;
  ctx.verbose = opts.x_verbose_flag != 0 || comp.dry_run_count > 0;
  ctx.dry_run = comp.dry_run_count > 0;
  ctx.help_requested = comp.help_requested;
  ctx.wrapper = opts.x_wrapper_string;
  ctx.report_times = opts.x_report_times != 0;
  ctx.timing_report_file = comp.timing_report_file;
  ctx.report_bug = opts.x_flag_report_bug != 0;
  ctx.program_name = comp.invocation_name ? comp.invocation_name : "";
  ctx.temp_base = in.last_temp_base();
  ctx.current_input = in.input.name;
  ctx.programs = &comp.search;
  ctx.print_version_banner = print_version_banner;
  ctx.worst_exit_status = &comp.worst_exit_status;
  ctx.signalled_children = &comp.signalled_children;
  ctx.executed_group_count = &comp.executed_group_count;
  if (comp.plan) {
    ctx.plan_group = record_plan_group;
    ctx.plan_data = &in;
  }
  return ctx;
}

int execute_arg_buffer(spec_interpreter &in) {
  // A command run from inside a spec function's arguments would escape the
  // argument state the function saved.
  vrk_assert(in.spec_function_depth == 0);
  if (in.args.buffer.empty())
    return 0;
  return execute(in.args.buffer, current_execute_context(in));
}

void install_command_execution(spec_interpreter &in) {
  in.execute_command = execute_arg_buffer;
  in.export_options = export_vrk_options;
}
