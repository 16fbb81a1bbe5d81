// The handler for options of the driver class: the driver's own actions on
// an option (output name, search prefixes, temporary-file policy, queries
// that print and exit, options forwarded to one kind of child) and whether
// the option is kept as a switch for the specs.
#ifndef VRK_DRIVER_DRIVER_OPTIONS_H
#define VRK_DRIVER_DRIVER_OPTIONS_H

#include <cstddef>

#include "diagnostics/diagnostic.h"
#include "options/opts-common.h"

struct diagnostic_reporter;

// Always true.  KIND must be kind_unspecified, LOC 0, OPTS/OPTS_SET the
// global option records and DC the global reporter (internal error
// otherwise).
bool driver_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc);

// Whether NAME (LENGTH characters) is an offload target this build
// supports.  The empty name is accepted; every other name is reported with
// a hint and rejected (this build has no offload targets).
bool check_offload_target_name(const char *name, std::size_t length);

#endif
