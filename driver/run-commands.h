// The driver's side of command execution: builds the execution context
// from the run's state and options, and connects the spec interpreter's
// seams (execute_command, export_options) to execution and to the
// COLLECT_VRK_OPTIONS export.
#ifndef VRK_DRIVER_RUN_COMMANDS_H
#define VRK_DRIVER_RUN_COMMANDS_H

#include "process/execute.h"

class spec_interpreter;

// The context of one execute call, from the current options and state.
execute_context current_execute_context(spec_interpreter &in);

// Execute the argument buffer with the current context.  Must not run
// while the arguments of a spec function are collected (internal error).
int execute_arg_buffer(spec_interpreter &in);

// Install execute_arg_buffer and export_vrk_options as the interpreter's
// seams.
void install_command_execution(spec_interpreter &in);

#endif
