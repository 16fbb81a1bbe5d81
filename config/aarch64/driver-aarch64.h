// Host processor detection for the "native" processor options: the spec
// function "local_cpu_detect" reads the host's processor description and
// names the matching -march=, -mcpu= or -mtune= option.
#ifndef VRK_CONFIG_AARCH64_DRIVER_AARCH64_H
#define VRK_CONFIG_AARCH64_DRIVER_AARCH64_H

// Where the processor description is read from unless VRK_CPUINFO names
// another file.
inline constexpr const char *aarch64_default_cpuinfo = "/proc/cpuinfo";

// Spec function "local_cpu_detect".  argv[0] is the query: "arch" gives a
// "-march=" option, "cpu" a "-mcpu=" one and "tune" a "-mtune=" one; the
// first two carry extension suffixes for what the host has or lacks
// compared with the named processor.  Returns a new text, or null when the
// query is unknown or the host cannot be identified (never a message).
// At least one argument is required.
const char *host_detect_local_cpu(int argc, const char **argv);

#endif
