// The language driver hook: adjusts the decoded command line before the
// driver looks at it.  vrk++ links the C++ hook (cp/vrk++spec.cc), the
// plain driver and most tests a hook that changes nothing
// (driver/no-lang-hook.cc).
#ifndef VRK_DRIVER_LANG_HOOK_H
#define VRK_DRIVER_LANG_HOOK_H

struct decoded_option;

// *DECODED may be replaced by a new array (the caller keeps both), *COUNT
// changed, and *ADDED_LIBRARIES raised by the number of library options
// the hook added.
void lang_specific_driver(decoded_option **decoded, unsigned *count, int *added_libraries);

#endif
