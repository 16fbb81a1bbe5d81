// The handler for options of the driver class: the driver's own actions on
// an option (output name, search prefixes, temporary-file policy, queries
// that print and exit, options forwarded to one kind of child) and whether
// the option is kept as a switch for the specs.
#ifndef VRK_DRIVER_DRIVER_OPTIONS_H
#define VRK_DRIVER_DRIVER_OPTIONS_H

#include "diagnostics/diagnostic.h"
#include "options/opts-common.h"

struct diagnostic_reporter;

// Always true.  HANDLERS' context is the compilation record the option
// acts on; KIND must be kind_unspecified, LOC 0, OPTS/OPTS_SET that
// record's option values and DC the global reporter (internal error
// otherwise).
bool driver_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc);

#endif
