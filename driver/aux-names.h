// Derivation of the names under which auxiliary and temporary outputs are
// written (-dumpdir, -dumpbase, -dumpbase-ext, -o, -save-temps): a pure
// function over a small record (process_command applies it to the run
// state).
#ifndef VRK_DRIVER_AUX_NAMES_H
#define VRK_DRIVER_AUX_NAMES_H

// What the derivation reads.  Texts are borrowed; results are new texts
// or the borrowed ones passed through.
struct aux_name_input {
  const char *output_name;        // -o argument, or null
  const char *aux_dir;            // -dumpdir, or null
  const char *aux_base;           // -dumpbase, or null
  const char *aux_base_ext;       // -dumpbase-ext, or null
  bool dumpdir_given;             // a -dumpdir appeared, even if overridden
  bool temps_option_overrides_dir;
  bool stops_before_link;         // -c, -S or -E
  int save_temps_mode;            // save_temps_kind
  const char *const *compilable_inputs;  // names of the compilable inputs
  int compilable_count;
};

struct aux_name_result {
  const char *aux_dir;       // null when none
  const char *aux_base;      // null when none
  const char *aux_base_ext;  // null unless aux_base is set and ends with it
  const char *output_stem;   // null when none
  int output_stem_length;    // 0 when the stem is for the linking step only
  int aux_dir_length;
  bool aux_dir_dash_added;
  int save_temps_mode;       // keep_temps_off or keep_temps_auxdir
};

aux_name_result derive_aux_names(const aux_name_input &in);

// Whether an input with LANGUAGE counts as compilable for the derivation
// (WPA: the variable of -fwpa= is set).
bool input_is_compilable(const char *language, bool wpa);

#endif
