// The comma-separated sanitizer names of "-fsanitize=" and
// "-fsanitize-trap=" and the flag bits they select.
#ifndef VRK_OPTIONS_SANITIZER_ARGS_H
#define VRK_OPTIONS_SANITIZER_ARGS_H

#include <cstddef>
#include <cstdint>

#include "diagnostics/diagnostic.h"

struct sanitizer_opts_entry {
  const char *name;
  std::uint32_t flags;
  bool can_trap;  // offered as a suggestion for "-fsanitize-trap="
};

// In table order; "all" is last.
extern const sanitizer_opts_entry sanitizer_opts[];
extern const std::size_t sanitizer_opts_count;

// Flag bits (the sanitize and trap words of option_values).
inline constexpr std::uint32_t SANITIZE_ADDRESS = 0x00000001;
inline constexpr std::uint32_t SANITIZE_USER_ADDRESS = 0x00000002;
inline constexpr std::uint32_t SANITIZE_KERNEL_ADDRESS = 0x00000004;
inline constexpr std::uint32_t SANITIZE_UNDEFINED_ALL = 0x03FFFFE0;

// Which option a sanitizer list belongs to.
enum sanitize_option_kind { SANITIZE_OPTION_SANITIZE, SANITIZE_OPTION_TRAP };

// Apply the list TEXT of option WHICH (POSITIVE false for its "no-" form)
// to FLAGS and return the result; bad items are reported and dropped.
std::uint32_t parse_sanitizer_options(const char *text, location_t loc, sanitize_option_kind which,
                                      std::uint32_t flags, bool positive);

#endif
