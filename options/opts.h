// Applying decoded options: storing their values into option_values by
// variable kind, dispatching them to the registered handlers by class, the
// common handler (everything of the common class the driver reaches), the
// target handler with the aarch64 hook, and the target defaults applied by
// init_options_struct.
#ifndef VRK_OPTIONS_OPTS_H
#define VRK_OPTIONS_OPTS_H

#include <cstdint>
#include <vector>

#include "options/opts-common.h"

// One entry of the list shared by every VAR_DEFERRED option, appended in
// command-line order (the list starts with room for 4).
struct deferred_option {
  std::size_t opt_index;
  const char *arg;
  int value;
};
using deferred_option_list = std::vector<deferred_option>;

// Store the value of option OPT_INDEX into its variable in OPTS and mark it
// in OPTS_SET (when given).  MASK: bits a set-valued argument replaces.
void store_option_value(option_values *opts, option_values *opts_set, option_index opt_index,
                        std::int64_t value, const char *arg, location_t loc, std::int64_t mask);

// Store DECODED's value, then call every handler whose class mask shares a
// bit with the option's flags; false as soon as one refuses the option.
bool dispatch_option(option_values *opts, option_values *opts_set, const decoded_option *decoded,
                     unsigned lang_mask, location_t loc, const option_handler_set *handlers,
                     diagnostic_reporter *dc);

// Handler for OPTF_COMMON options (see option_handler_fn).
bool common_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc);

// Handler for OPTF_TARGET options: hands the option to the target's hook.
bool target_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc);

// The aarch64 target's option hook (a target_option_hook_fn).
bool aarch64_handle_option(option_values *opts, option_values *opts_set,
                           const decoded_option *decoded, location_t loc);

// Fills OPTS from initial_option_values, clears OPTS_SET (when given), then
// applies the target defaults: enum and char signedness, the target flags
// word, unwind tables, then the target's own adjustments.
void init_options_struct(option_values *opts, option_values *opts_set);

// The aarch64 defaults of this configuration (little-endian, unwind
// tables on).
inline constexpr int aarch64_default_target_flags = 0;
inline constexpr int aarch64_unwind_tables_default = 1;

#endif
