// Command-line processing: turns the decoded command line into the
// driver's working state (installation and search prefixes, saved
// switches, inputs, output and auxiliary-output names).
#ifndef VRK_DRIVER_COMMAND_LINE_H
#define VRK_DRIVER_COMMAND_LINE_H

#include "options/opts-common.h"

struct compilation;

// Whether the installation directories are derived from the driver's
// canonical path (symbolic links resolved): unless -no-canonical-prefixes
// is on the command line.
bool resolves_prefix_links(const decoded_option *decoded, unsigned count);

// Run once, first thing of load_specs, on a fresh COMP.  The language hook
// may replace *DECODED_OPTIONS (the caller keeps and frees both arrays)
// and change *DECODED_OPTIONS_COUNT.  Fatal errors end the run.
void process_command(compilation &comp, unsigned *decoded_options_count,
                     decoded_option **decoded_options);

// The option machinery's callbacks for options it cannot dispatch; the
// context is the compilation record.  Unknown option: saved as an
// unclaimed switch; false (no generic error).
bool driver_unknown_option_callback(const decoded_option *decoded, void *context);
// Option of another language: an error for the few the driver rejects,
// else saved as a recognised, unclaimed switch.
void driver_wrong_lang_callback(const decoded_option *decoded, unsigned lang_mask,
                                void *context);

// The handlers command-line options go to, in order (driver, common,
// target), with the two callbacks above, acting on COMP; process_command
// stores them in COMP for the self specs.
option_handler_set driver_option_handlers(compilation &comp);

#endif
