// The sysroot suffixes, defined apart from the selection code: the prefix
// set-up and the queries read them.
#include "spec/multilib.h"

const char *sysroot_suffix;
const char *sysroot_hdrs_suffix;
