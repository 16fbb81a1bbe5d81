// The record of one run: everything the driver works on between decoding
// the command line and the exit status.  The driver creates one and passes
// it down; the spec interpreter, the spec functions, the specs-file reader
// and the multilib choice reach it through the interpreter.  Nothing in it
// is process-wide, so a test makes a fresh one for every case.
//
// Fields are grouped by the step of the main sequence that sets them;
// texts are borrowed from the command line or allocated for the rest of
// the run.
#ifndef VRK_COMPILATION_COMPILATION_H
#define VRK_COMPILATION_COMPILATION_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "compilation/compilers.h"
#include "compilation/inputs.h"
#include "compilation/switches.h"
#include "options/opts-common.h"
#include "process/prefixes.h"

// -save-temps: where kept intermediate files go.
enum save_temps_kind {
  keep_temps_off = 0,
  keep_temps_cwd = 1,
  keep_temps_auxdir = 2,
  keep_temps_objdir = 3,
};

// -fcompare-debug: every input is compiled twice, the second time with
// the debugging option toggled and its own switches, and the two final
// dumps are compared.
struct compare_debug_state {
  // 0 off; 1 on; negative while the second compilation is interpreted;
  // 2 and 3 only between the option and the end of command-line
  // processing (from VRK_COMPARE_DEBUG).
  int mode = 0;
  const char *option = nullptr;  // the toggling option, or null
  bool second_pass = false;      // -fcompare-debug-second: this run is one
  // The dump names of the first and the second compilation of the current
  // input, set by the spec function that names the dump.
  const char *dumps[2] = {nullptr, nullptr};
  // The switches of the second compilation, made while the specs are
  // loaded; the current switches are those of the first.
  switch_list second_switches;
  // Made by the first compilation's dump-option call and used up by the
  // second one's: both compilations must see the same seed.
  char *random_seed_text = nullptr;

  void release_dumps();
};

// What the multilib selection remembers between its questions.
struct multilib_answers {
  // Default options of the last selection (words of multilib_defaults).
  std::vector<std::string> default_options;
  // Options in effect through multilib_matches and the defaults; built on
  // the first question from the switches at that moment.
  enum class cache_state { empty, building, built } implied_state = cache_state::empty;
  std::vector<std::string> implied_options;
};

class run_plan;

struct compilation {
  compilation();
  compilation(const compilation &) = delete;
  compilation &operator=(const compilation &) = delete;
  ~compilation();

  // The invocation.
  const char *invocation_name = nullptr;  // last component of argv[0]
  bool response_file_seen = false;        // an argument file was expanded
  option_values options{};                // settings of the decoded options
  option_values options_set{};            // which of them were given
  // The handlers command-line options go to (driver, common, target) with
  // the driver's callbacks; self specs use the same set.  Filled by the
  // driver; its context is this record.
  option_handler_set option_handlers{};

  // Installation and search (command-line processing, spec loading).
  const char *version_number_text = nullptr;  // "13.2.0"
  const char *install_exec_prefix = nullptr;
  const char *libexec_prefix_dir = nullptr;
  search_paths search;
  const char *sysroot_dir = nullptr;           // --sysroot=
  bool sysroot_overridden = false;
  const char *sysroot_suffix = nullptr;        // from sysroot_suffix_spec
  const char *sysroot_hdrs_suffix = nullptr;   // from sysroot_hdrs_suffix_spec
  multilib_answers multilib;

  // The command line as the specs see it.
  switch_list switches;
  input_list inputs;
  int implicit_library_count = 0;  // inputs the language hook added
  bool undefined_env_tolerated = false;

  // Inputs and their compilers (input classification and the compilation
  // loop).  One slot per input in output_files and explicit_link_files.
  compilers_table compilers;
  std::vector<const char *> output_files;  // what each input gives the link
  std::vector<char> explicit_link_files;   // inputs no compiler handles

  // Output and auxiliary-output names.
  const char *output_name = nullptr;
  bool output_given = false;
  bool stops_before_link = false;  // -c, -S or -E given
  const char *aux_dir = nullptr;
  const char *aux_base = nullptr;
  const char *aux_base_ext = nullptr;
  int save_temps_mode = keep_temps_off;
  bool temps_option_overrides_dir = false;
  bool dumpdir_given = false;  // a -dumpdir option appeared
  const char *output_stem = nullptr;
  int output_stem_length = 0;
  int aux_dir_length = 0;
  bool aux_dir_dash_added = false;

  // The COLLECT_VRK_OPTIONS text set last, with the switches' generation
  // and the auxiliary directory it was made from: a command group whose
  // switches did not change sets the same text again.
  struct {
    const char *text = nullptr;
    std::uint64_t generation = 0;
    std::string aux_dir;
    bool has_aux_dir = false;
  } exported_options;

  // Options the driver acts on itself.
  const char *language_override = nullptr;
  int language_override_input_count = -1;
  int dry_run_count = 0;
  bool plan_requested = false;  // -plan=json
  run_plan *plan = nullptr;     // made by the driver when plan_requested
  bool help_requested = false;
  bool version_requested = false;
  int subprocess_help_level = 0;
  const char *completion_prefix = nullptr;
  std::vector<const char *> user_spec_files;
  const char *linker_flavour_suffix = nullptr;
  const char *offload_target_list = nullptr;
  std::FILE *timing_report_file = nullptr;
  bool preprocess_only_given = false;
  std::vector<const char *> assembler_passthrough;
  std::vector<const char *> preprocessor_passthrough;
  std::vector<const char *> linker_passthrough;
  compare_debug_state compare_debug;

  // Command execution.
  int worst_exit_status = 1;  // raised to the highest exit code
  int signalled_children = 0;
  int executed_group_count = 0;
};

#endif
