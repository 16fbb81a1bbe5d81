// Multilib selection: the library variant that fits the user's switches,
// and the sysroot suffixes computed at the same point of start-up.
#ifndef VRK_SPEC_MULTILIB_H
#define VRK_SPEC_MULTILIB_H

#include <cstdio>

// Results of `select_multilib` (null until chosen, or when none applies).
extern const char *selected_multilib_dir;
extern const char *selected_multilib_os_dir;
extern const char *selected_multiarch_dir;

// Results of `settle_sysroot_suffixes` (null when none).
extern const char *sysroot_suffix;
extern const char *sysroot_hdrs_suffix;

// Print the multilib listing of -print-multi-lib.
void print_multilib_listing(std::FILE *stream);

#endif
