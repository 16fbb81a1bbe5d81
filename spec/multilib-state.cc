// The multilib selection's results, defined apart from the selection code:
// the prefix walk and the queries read them.
#include "spec/multilib.h"

const char *selected_multilib_dir;
const char *selected_multilib_os_dir;
const char *selected_multiarch_dir;
const char *sysroot_suffix;
const char *sysroot_hdrs_suffix;
