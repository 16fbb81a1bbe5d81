// The driver's run state: process-wide variables shared by the steps of the
// main sequence (one run per process; never reset).  Each is set by the
// module named beside it and read by the others.
#ifndef VRK_DRIVER_DRIVER_STATE_H
#define VRK_DRIVER_DRIVER_STATE_H

#include <cstdio>
#include <vector>

#include "process/prefixes.h"

// Main sequence (driver/vrk).
extern const char *invocation_name;        // last component of argv[0]
extern bool response_file_seen;            // an argument file was expanded
extern int worst_exit_status;              // command execution; starts at 1
extern int signalled_children;             // command execution
extern int executed_group_count;           // command execution

// The run's search paths: prefix lists, machine suffixes, multilib
// directories (set by command-line processing, spec loading and the
// multilib choice).
extern search_paths run_paths;

// Command-line processing (driver/command-line).
enum save_temps_kind { keep_temps_off = 0, keep_temps_cwd = 1, keep_temps_auxdir = 2, keep_temps_objdir = 3 };
extern const char *version_number_text;    // "13.2.0"
extern const char *install_exec_prefix;
extern const char *libexec_prefix_dir;
extern int implicit_library_count;
extern bool stops_before_link;             // -c, -S or -E given
extern const char *output_name;
extern bool output_given;
extern const char *aux_dir;
extern const char *aux_base;
extern const char *aux_base_ext;
extern int save_temps_mode;
extern bool temps_option_overrides_dir;
extern bool dumpdir_given;                 // a -dumpdir option appeared
extern const char *output_stem;
extern int output_stem_length;
extern int aux_dir_length;
extern bool aux_dir_dash_added;
extern bool undefined_env_tolerated;

// Driver-handled options (driver/driver-options).
extern const char *language_override;
extern int language_override_input_count;
extern int dry_run_count;
extern bool help_requested;
extern bool version_requested;
extern int subprocess_help_level;
extern const char *completion_prefix;
extern const char *sysroot_dir;
extern bool sysroot_overridden;
extern std::vector<const char *> user_spec_files;
extern const char *linker_flavour_suffix;
extern const char *offload_target_list;
extern int compare_debug_mode;
extern const char *compare_debug_option;
extern bool compare_debug_second_pass;
extern std::FILE *timing_report_file;
extern bool preprocess_only_given;
extern std::vector<const char *> assembler_passthrough;
extern std::vector<const char *> preprocessor_passthrough;
extern std::vector<const char *> linker_passthrough;

#endif
