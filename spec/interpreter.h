// The spec interpreter: turns spec strings into the argument lists of the
// commands the driver runs.  `do_spec_1` reads a spec left to right, builds
// arguments in the argument buffer, executes the buffer at every newline
// and gives every `%` escape its meaning; `expand_spec`, `run_spec` and
// `apply_self_spec` are its three entry points.
//
// One spec_interpreter serves one run: it works on the run's compilation
// record and holds the interpreter's own state (the argument being built,
// the current input, the temporary names made so far).  A spec function
// call sets the argument state aside and brings it back (`arg_state`).
#ifndef VRK_SPEC_INTERPRETER_H
#define VRK_SPEC_INTERPRETER_H

#include <sys/types.h>

#include <cstddef>
#include <vector>

#include "spec/group-text.h"
#include "spec/provenance.h"
#include "support/text-area.h"
#include "support/text-pool.h"

struct compilation;
struct compiler_entry;
struct decoded_option;
struct spec_function;
class spec_interpreter;

// The arguments under construction.  Finished arguments are separate
// allocations that stay valid for the rest of the run.
struct arg_state {
  // Finished arguments of the command or pipeline under construction; a
  // word that is exactly "|" separates two commands.
  std::vector<const char *> buffer;
  // Arguments collected for a response file while one is open.
  std::vector<const char *> response_buffer;
  text_area text;  // the argument under construction
  bool pending = false;
  // Per-argument flags, cleared at every blank, tab and newline.
  bool is_library = false;        // %s
  bool is_linker_script = false;  // %T
  bool is_output = false;         // %w
  int delete_mode = 0;            // 0 none, 1 generated temporary, 2 %d
  // Set by %. and used when switch arguments are written.
  const char *suffix_substitute = nullptr;
  // With a provenance trace: one origin per word of buffer and of
  // response_buffer, in step with them (see sync_origins).
  std::vector<word_origin> origins;
  std::vector<word_origin> response_origins;
};

// The input being compiled: its name split into base, stem and suffix, its
// index and its compilers-table row.  The linking step clears the base
// (null, lengths 0).
struct input_state {
  const char *name = nullptr;
  int name_length = 0;
  const char *base = nullptr;   // after the last "/" of name
  int base_length = 0;          // 0: no current input
  int stem_length = 0;          // up to the last "." (not a leading one)
  const char *suffix = "";      // after that ".", or ""
  int number = 0;               // index in the inputs and output_files
  compiler_entry *compiler = nullptr;
};

// Temporary names made for the run, newest first, remembered by suffix
// and family so that every use of one suffix yields the same file for all
// inputs.
struct temp_name_entry;
struct temp_name_state {
  temp_name_entry *memo = nullptr;
  // The generated name that a temporary-name escape appended last.
  const char *last_generated = nullptr;
  // Device and inode of the current input, taken once per input.
  enum class identity { not_taken, taken, failed } input_identity = identity::not_taken;
  dev_t input_device = 0;
  ino_t input_inode = 0;
  int dev_null_usable = -1;  // -1: not yet tested
};

class spec_interpreter {
public:
  explicit spec_interpreter(compilation &comp);
  spec_interpreter(const spec_interpreter &) = delete;
  spec_interpreter &operator=(const spec_interpreter &) = delete;

  compilation &comp;

  arg_state args;
  bool in_response_file = false;
  // Greater than 0 while the arguments of a spec function are collected.
  int spec_function_depth = 0;
  input_state input;
  temp_name_state temps;
  int response_file_counter = 0;  // numbers the response files kept under -save-temps
  // How deep do_spec_1 is nested, and the named spec interpreted innermost
  // (for the message when the bound is reached).
  int spec_nesting = 0;
  const char *innermost_named_spec = nullptr;

  // Where words come from; null unless the plan is asked for.
  provenance_trace *trace = nullptr;

  // Where finished arguments are kept: they stay for the rest of the run.
  text_pool finished_args;

  // The conditional groups read so far, kept for the next input.
  group_text_store group_texts;
  // The group body being interpreted innermost (nothing outside bodies).
  body_text current_body;

  // The spec functions %: can call (the built-in table unless a test
  // installs its own).
  const spec_function *spec_functions;
  int spec_function_count;

  // The seam to command execution.  Called with a complete command (or
  // pipeline) in args.buffer; returns 0 or the failure status.  Null:
  // nothing runs and the result is 0.
  int (*execute_command)(spec_interpreter &in) = nullptr;
  // Called before every command group is executed (even an empty one) to
  // export the option list for the children.  Null: nothing.
  void (*export_options)(spec_interpreter &in) = nullptr;

  // -------------------------------------------------------------------
  // Interpretation (interpreter.cc, escapes.cc).

  // Interpret SPEC.  0 success, -1 the spec failed (%e, a failed group or
  // spec function), any other value the failure status of an executed
  // command.  With LITERAL the whole text is appended to the argument
  // under construction.  STAR_TEXT is what %* inserts (null when none).
  int do_spec_1(const char *spec, bool literal, const char *star_text);
  // From a clean argument state: interpret SPEC, finish a pending
  // argument; executes only at newlines of SPEC.
  int expand_spec(const char *spec, const char *star_text = nullptr);
  // expand_spec, then execute what is left (a final "|" dropped).
  int run_spec(const char *spec);
  // Interpret SPEC and turn the resulting words into new switches.
  void apply_self_spec(const char *spec);

  // -------------------------------------------------------------------
  // Argument building (arg-state.cc, response-file.cc).

  // Terminate the argument under construction and push it (library and
  // linker-script lookup, deletion records, output-file slot).
  void finish_arg();
  // Push TEXT as a finished argument; record it (or the part after the
  // last "=" of an option) for deletion at the end of the run when
  // DELETE_ALWAYS is nonzero and on failure when DELETE_ON_FAILURE is set.
  void push_arg(const char *text, int delete_always, bool delete_on_failure);
  // Clear the four per-argument flags.
  void clear_arg_flags();
  // Cut the origins back to the words still in the buffers (after words
  // were dropped from them).
  void sync_origins();
  // Response files around %o and %@{...} (only when an argument file was
  // expanded).  begin: "cannot open nested response file" when one is
  // open already; write: the collected arguments go to a new response
  // file and "@" and its name are pushed.
  void begin_response_file();
  void write_response_file();

  // -------------------------------------------------------------------
  // Current input (input-state.cc).

  void set_current_input(const char *name);

  // -------------------------------------------------------------------
  // Temporary and output names (temp-names.cc).

  // The escape LETTER (g u U j m |) at P (just after the letter) of SPEC;
  // returns the position after its suffix.
  const char *do_temp_name_escape(char letter, const char *p, const char *spec);
  // The generated temporary name that a temporary-name escape appended
  // last (kept -save-temps names, "/dev/null" and "-" are not generated),
  // or null before the first one: the temporary base for the
  // process-execution library when it must name files of its own.
  const char *last_temp_base() const { return temps.last_generated; }

  // -------------------------------------------------------------------
  // Directory options (path-options.cc).

  void do_library_dir_options();  // %D
  void do_header_options();       // %I

  // -------------------------------------------------------------------
  // Conditional groups (braces.cc).

  // P is the text after "{".  Returns the position after the closing "}",
  // or null when interpreting a body failed.
  const char *process_braces(const char *p);
  // Write saved switch INDEX (with its "-" unless OMIT_NAME) and its
  // arguments as arguments; marks it claimed.
  void emit_switch(int index, bool omit_name);

  // -------------------------------------------------------------------
  // Spec functions (function-call.cc).

  // P is the text after "%:".  Calls the function with its expanded
  // arguments and interprets its result.  *RETURNED (when given) tells
  // whether the function returned a text.  Returns the position after
  // ")", or null when interpreting the result failed.
  const char *call_spec_function(const char *p, bool *returned, const char *star_text);
};

#endif
