// The storage of the driver's run state, with the initial values of one run.
#include "driver/driver-state.h"

const char *invocation_name;
bool response_file_seen;
int worst_exit_status = 1;
int signalled_children;
int executed_group_count;

search_paths run_paths;

const char *version_number_text;
const char *install_exec_prefix;
const char *libexec_prefix_dir;
int implicit_library_count;
bool stops_before_link;
const char *output_name;
bool output_given;
const char *aux_dir;
const char *aux_base;
const char *aux_base_ext;
int save_temps_mode;
bool temps_option_overrides_dir;
bool dumpdir_given;
const char *output_stem;
int output_stem_length;
int aux_dir_length;
bool aux_dir_dash_added;
bool undefined_env_tolerated;

const char *language_override;
int language_override_input_count = -1;
int dry_run_count;
bool help_requested;
bool version_requested;
int subprocess_help_level;
const char *completion_prefix;
const char *sysroot_dir;
bool sysroot_overridden;
std::vector<const char *> user_spec_files;
const char *linker_flavour_suffix;
const char *offload_target_list;
int compare_debug_mode;
const char *compare_debug_option;
bool compare_debug_second_pass;
std::FILE *timing_report_file;
bool preprocess_only_given;
std::vector<const char *> assembler_passthrough;
std::vector<const char *> preprocessor_passthrough;
std::vector<const char *> linker_passthrough;
