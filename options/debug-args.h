// Debug-format selection ("-g", "-gdwarf", "-gctf", "-gbtf", "-gvms" ...):
// formats combine or conflict, and an optional level follows them.
#ifndef VRK_OPTIONS_DEBUG_ARGS_H
#define VRK_OPTIONS_DEBUG_ARGS_H

#include <cstdint>

#include "diagnostics/diagnostic.h"
#include "options/option-table.h"

// Bits of the debug-format word (0: none).
enum debug_format : std::uint32_t {
  NO_DEBUG = 0,
  DWARF2_DEBUG = 2,
  VMS_DEBUG = 4,
  CTF_DEBUG = 8,
  BTF_DEBUG = 16,
};

// The name a format has in diagnostics ("dwarf-2", "vms", "ctf", "btf").
const char *debug_format_name(std::uint32_t format);

// Select FORMAT (NO_DEBUG: the default format, from "-g"/"-ggdb") with the
// level text LEVEL (null or empty: none) in OPTS, marking OPTS_SET.
void set_debug_level(std::uint32_t format, const char *level, option_values *opts,
                     option_values *opts_set, location_t loc);

#endif
