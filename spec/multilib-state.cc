#include "spec/multilib.h"

const char *selected_multilib_dir;
const char *selected_multilib_os_dir;
const char *selected_multiarch_dir;
const char *sysroot_suffix;
const char *sysroot_hdrs_suffix;
