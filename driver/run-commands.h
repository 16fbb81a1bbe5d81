// The driver's side of command execution: builds the execution context
// from the driver's state and options, and connects the spec interpreter's
// seams (execute_command_hook, export_options_hook) to execution and to
// the COLLECT_VRK_OPTIONS export.
#ifndef VRK_DRIVER_RUN_COMMANDS_H
#define VRK_DRIVER_RUN_COMMANDS_H

#include <cstdio>

#include "process/execute.h"

// Writes the -v version banner; the -freport-bug procedure copies it into
// the kept error output.  Null: no banner.
extern void (*version_banner_printer)(std::FILE *stream);

// The context of one execute call, from the current options and state.
execute_context current_execute_context();

// Execute arg_buffer with the current context.  Must not run while the
// arguments of a spec function are collected (internal error).
int execute_arg_buffer();

// Install execute_arg_buffer as execute_command_hook and export_vrk_options
// as export_options_hook.  Called once at start-up.
void install_command_execution();

#endif
