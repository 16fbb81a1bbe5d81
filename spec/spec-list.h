// Named specs: the `spec_list` of named spec strings (run-time definitions
// first, then the 45 static entries, then the processor extra entry), the
// operations that define, replace and reset them, the link command, the
// driver's built-in self specs, and the -dumpspecs printer.
#ifndef VRK_SPEC_SPEC_LIST_H
#define VRK_SPEC_SPEC_LIST_H

#include <cstdio>

struct named_spec {
  const char *name;          // without the "*" that specs files put before it
  const char *value;         // storage for entries created at run time
  const char **value_slot;   // where the current value lives; all access goes here
  named_spec *next;
  int name_length;
  bool user_set;             // last definition came from a user specs file
  bool value_owned;          // the current value is released when replaced
  const char *default_value; // start-up value (null for run-time entries)
  // The specs file and line of the last definition's value, or null.
  const char *origin_file = nullptr;
  int origin_line = 0;
};

// An entry of the processor-specific extra table (name and value).
struct extra_spec {
  const char *name;
  const char *value;
};

inline constexpr int static_spec_count = 45;
inline constexpr int extra_spec_count = 1;
extern const extra_spec extra_spec_table[extra_spec_count];

// The built-in link command ("*link_command" in specs files).
extern const char *const default_link_command_spec;

// The self specs the driver applies after the main specs files, in order.
inline constexpr int driver_self_spec_count = 6;
extern const char *const driver_self_specs[driver_self_spec_count];

// Every named spec of the process, and the link command.  They are
// configuration: built in, replaced by specs files, read by every part of
// the run.  One object owns them all and reset_specs is their one reset.
struct named_spec_store {
  // The values of the 45 static entries, in table order (start-up values
  // in static-specs.cc).
  const char *asm_spec;
  const char *asm_debug_spec;
  const char *asm_debug_option_spec;
  const char *asm_final_spec;
  const char *asm_options_spec;
  const char *invoke_as_spec;
  const char *cpp_spec;
  const char *cpp_options_spec;
  const char *cpp_debug_options_spec;
  const char *cpp_unique_options_spec;
  const char *trad_capable_cpp_spec;
  const char *kfront_spec;
  const char *kfront_options_spec;
  const char *kfrontxx_spec;
  const char *link_vrk_c_sequence_spec;
  const char *link_ssp_spec;
  const char *endfile_spec;
  const char *link_spec;
  const char *lib_spec;
  const char *link_zomp_spec;
  const char *libvrk_spec;
  const char *startfile_spec;
  const char *cross_compile_spec;
  const char *version_spec;
  const char *multilib_spec;
  const char *multilib_defaults_spec;
  const char *multilib_extra_spec;
  const char *multilib_matches_spec;
  const char *multilib_exclusions_spec;
  const char *multilib_options_spec;
  const char *multilib_reuse_spec;
  const char *linker_name_spec;
  const char *linker_plugin_file_spec;
  const char *lto_wrapper_spec;
  const char *lto_vrk_spec;
  const char *post_link_spec;
  const char *link_libvrk_spec;
  const char *md_exec_prefix_spec;
  const char *md_startfile_prefix_spec;
  const char *md_startfile_prefix_1_spec;
  const char *startfile_prefix_spec;
  const char *sysroot_spec;
  const char *sysroot_suffix_spec;
  const char *sysroot_hdrs_suffix_spec;
  const char *self_spec;

  // The static entries; each entry's value_slot is its field above.
  named_spec static_spec_table[static_spec_count];
  // Head of the list; null until the list is built.
  named_spec *spec_list;
  // The link command: not in spec_list.
  const char *link_command_spec;
};

// Process-wide because specs are configuration that every step of a run
// reads and the specs files change (see above).
extern named_spec_store named_specs;

// A native (not cross) configuration: the cross_compile spec begins with "0".
bool native_configuration();

// Build spec_list from the built-in tables (rewrites libvrk, prefixes link);
// VERBOSE (-v) says so on standard error.  Does not check for an existing
// list.
void install_builtin_specs(bool verbose = false);

// Create or replace the entry NAME.  A VALUE of "+" followed by white space
// is appended to the old value.  Keeps its own copy of VALUE.
void define_spec(const char *name, const char *value, bool user_set);

// Replace the value of the static entry whose value_slot is SLOT; a slot of
// no static entry is an internal error.
void set_static_spec(const char **slot, const char *value, bool owned);

// The first entry called NAME (or its first LENGTH characters), or null.
named_spec *lookup_spec(const char *name);
named_spec *lookup_spec(const char *name, int length);

// Every named spec back to its start-up state; run-time entries released.
void reset_specs();

// The specs-file text of every named spec, then the link command.
void print_specs(std::FILE *stream);
// -dumpspecs: build the list if needed, print it on standard output, exit 0.
[[noreturn]] void print_specs_and_exit(bool verbose);

#endif
