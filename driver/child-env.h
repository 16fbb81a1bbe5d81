// The environment variables the driver exports for its child programs:
// how the driver was called, with which options, where the link-time
// companions and search directories are.  Every text is built in its own
// allocation and handed to env_manager::xput, which gives it to putenv;
// the texts therefore stay allocated until the process ends.
#ifndef VRK_DRIVER_CHILD_ENV_H
#define VRK_DRIVER_CHILD_ENV_H

#include <string>

struct compilation;
struct jobserver_state;
class search_paths;
class spec_interpreter;

// COLLECT_AS_OPTIONS='a' 'b' ... from assembler_passthrough; nothing when
// that list is empty.
void export_assembler_options(const compilation &comp);
// COLLECT_VRK=ARGV0, unchanged.
void export_driver_path(const char *argv0);
// Unless stops_before_link: when find_program finds "ltorelay",
// COLLECT_LTO_WRAPPER=<path with blanks and tabs backslash-escaped>; the
// same text becomes the lto_wrapper spec.
void export_lto_wrapper_path(compilation &comp);
// OFFLOAD_TARGET_NAMES=<offload_target_list> when the list is set and not
// empty; the list is released and cleared in every case.
void export_offload_targets(compilation &comp);

// COLLECT_VRK_OPTIONS from the saved switches and aux_dir; rebuilt before
// every command group (the interpreter's export_options seam).
void export_vrk_options(spec_interpreter &in);
// The text of COLLECT_VRK_OPTIONS after the "=".
std::string collect_vrk_options_value(const compilation &comp);

// For the link step: COMPILER_PATH from exec_prefixes and LIBRARY_PATH from
// startfile_prefixes (with multilib variants), existing directories only.
void export_compiler_path(const search_paths &search);
void export_library_path(const search_paths &search);
// The replacement MAKEFLAGS when the announced job server is unusable.
void export_makeflags(const jobserver_state &jobserver);

// TEXT with a backslash in front of every blank and tab (a new text).
char *escape_white_space(const char *text);

#endif
