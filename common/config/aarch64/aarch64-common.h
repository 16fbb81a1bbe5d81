// Extension suffixes of 64-bit Arm processor names ("+crc", "+nofp"), and
// the rewriting of a "-mcpu=" value into the architecture with extension
// suffixes that the assembler understands.
#ifndef VRK_COMMON_CONFIG_AARCH64_AARCH64_COMMON_H
#define VRK_COMMON_CONFIG_AARCH64_AARCH64_COMMON_H

#include "config/aarch64/aarch64-tables.h"

#include <string>
#include <vector>

enum aarch64_parse_opt_result {
  AARCH64_PARSE_OK = 0,
  AARCH64_PARSE_MISSING_ARG = 1,        // an empty name, or "no" alone
  AARCH64_PARSE_INVALID_FEATURE = 2,    // a name not in the extension table
};

// Apply the suffix list `str` (each item a '+' and an extension name, or
// '+' "no" and a name) to `isa_flags`: a name ors in its turning-on
// closure, a "no" name clears its turning-off closure.  Parsing stops at
// the first bad item; the flags keep the items applied before it.  For an
// unknown name, the item as written (without its '+') goes to
// `invalid_extension` when that is not null.
aarch64_parse_opt_result parse_extension_list(const char *str,
                                              aarch64_feature_flags *isa_flags,
                                              std::string *invalid_extension);

// The suffix text ("+crc+crypto+nosve" ...) that, applied to
// `default_flags`, selects `isa_flags` as closely as the extension names
// allow.  "crc" is always named explicitly unless the defaults are those of
// an armv8-r architecture.
std::string extension_string_for_flags(aarch64_feature_flags isa_flags,
                                       aarch64_feature_flags default_flags);

// "cortex-a53+crc" -> "armv8-a+crc".  An unknown core name is a fatal
// error; unknown suffixes are ignored.
std::string rewrite_cpu_name(const char *name);

// The processor names a user may give: every core of the table, "generic"
// and "native" (-mcpu=, -mtune=); every architecture and "native"
// (-march=).  "native" stands for what host detection finds.
std::vector<const char *> aarch64_core_names();
std::vector<const char *> aarch64_arch_names();

// Spec function "rewrite_mcpu": rewrite_cpu_name of the last argument, as a
// new text.  At least one argument is required.
const char *aarch64_rewrite_mcpu(int argc, const char **argv);

#endif
