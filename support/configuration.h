// Build-time settings of this toolchain: target, version and the configured
// installation directories.  The installation is relocated at run time
// relative to the driver's own location; these are the configured places.
#ifndef VRK_SUPPORT_CONFIGURATION_H
#define VRK_SUPPORT_CONFIGURATION_H

namespace config {

inline constexpr const char *target_name = "aarch64-portbld-freebsd15.0";
inline constexpr const char *version_string =
    "13.2.0 20230727 (release) -=> TOLV [FreeBSD/ARM64]";
inline constexpr const char *version_number = "13.2.0";
inline constexpr const char *package_version = "(TOLV 13.2.0) ";
inline constexpr const char *bug_report_url = "https://bugs.tolv.example/vrk/";
inline constexpr const char *thread_model = "posix";
inline constexpr const char *configuration_arguments =
    "../configure --prefix=/usr/local/tolv13 --target=aarch64-portbld-freebsd15.0 "
    "--with-as=/usr/local/bin/as --with-ld=/usr/local/bin/ld";

inline constexpr const char *prefix = "/usr/local/tolv13";
inline constexpr const char *standard_bindir_prefix = "/usr/local/tolv13/bin/";
inline constexpr const char *standard_exec_prefix = "/usr/local/tolv13/lib/vrk/";
inline constexpr const char *standard_libexec_prefix = "/usr/local/tolv13/libexec/vrk/";
inline constexpr const char *locale_dir = "/usr/local/tolv13/share/locale";
inline constexpr const char *text_domain = "vrk";

inline constexpr const char *machine_suffix = "aarch64-portbld-freebsd15.0/13.2.0/";
inline constexpr const char *machine_only_suffix = "aarch64-portbld-freebsd15.0/";

inline constexpr const char *default_assembler = "/usr/local/bin/as";
inline constexpr const char *default_linker = "/usr/local/bin/ld";

} // namespace config

#endif
