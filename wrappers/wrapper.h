// The archive-tool wrapper: finds the link-time-optimisation plugin and the
// real tool ("ar", "nm" or "ranlib") in the installation's directories,
// runs the tool with "--plugin <path>" in front of the user's arguments and
// ends with the tool's status.
#ifndef VRK_WRAPPERS_WRAPPER_H
#define VRK_WRAPPERS_WRAPPER_H

// The plugin every wrapper loads into its tool.
inline constexpr const char *wrapper_plugin_name = "libltohook.so";

// The main operation for the tool PERSONALITY; returns the exit status
// (usage errors and missing files end the process with status 1).
int wrapper_main(const char *personality, int argc, char **argv);

#endif
