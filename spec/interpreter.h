// The spec interpreter: turns spec strings into the argument lists of the
// commands the driver runs.  `do_spec_1` reads a spec left to right, builds
// arguments in `arg_buffer`, executes the buffer at every newline and gives
// every `%` escape its meaning; `expand_spec`, `run_spec` and
// `apply_self_spec` are its three entry points.
//
// All state is process-wide (one interpreter per process, re-entered only
// through its own recursion).
#ifndef VRK_SPEC_INTERPRETER_H
#define VRK_SPEC_INTERPRETER_H

#include <cstddef>
#include <vector>

#include "support/text-area.h"


struct compiler_entry;
struct decoded_option;

// ---------------------------------------------------------------------------
// Argument state (arg-state.cc).

// Finished arguments of the command or pipeline under construction; a word
// that is exactly "|" separates two commands.
extern std::vector<const char *> arg_buffer;
// Arguments collected for a response file while `in_response_file` is set.
extern std::vector<const char *> response_arg_buffer;
extern bool in_response_file;
// The text of the argument under construction.  Finished arguments are
// separate allocations that stay valid for the rest of the run.
extern text_area arg_text;
extern bool arg_pending;
// Per-argument flags, cleared at every blank, tab and newline.
extern bool arg_is_library;        // %s
extern bool arg_is_linker_script;  // %T
extern bool arg_is_output;         // %w
extern int arg_delete_mode;        // 0 none, 1 generated temporary, 2 %d
// Set by %. and used when switch arguments are written.
extern const char *suffix_substitute;
// Greater than 0 while the arguments of a spec function are collected.
extern int spec_function_depth;

// Terminate the argument under construction and push it (library and
// linker-script lookup, deletion records, output-file slot).
void finish_arg();
// Push TEXT as a finished argument; record it (or the part after the last
// "=" of an option) for deletion at the end of the run when DELETE_ALWAYS
// is nonzero and on failure when DELETE_ON_FAILURE is set.
void push_arg(const char *text, int delete_always, bool delete_on_failure);
// Clear the four per-argument flags.
void clear_arg_flags();

// Response files around %o and %@{...} (only when response_file_seen).
// begin: "cannot open nested response file" when one is open already.
void begin_response_file();
// Writes response_arg_buffer to a new response file and pushes "@" and its
// name (the response-file writer; defined with the process code).
void write_response_file();

// ---------------------------------------------------------------------------
// Current input (input-state.cc).  Set for every input that is compiled;
// the linking step clears the base-name parts (input_base null, lengths 0).

extern const char *input_name;
extern int input_name_length;
extern const char *input_base;     // after the last "/" of input_name
extern int input_base_length;      // 0: no current input
extern int input_stem_length;      // up to the last "." (not a leading one)
extern const char *input_suffix;   // after that ".", or ""
extern int input_number;           // index in input_entries / output_files
// One slot per input: the file the input gives the link, or null.
extern std::vector<const char *> output_files;
extern compiler_entry *current_compiler;

void set_current_input(const char *name);

// ---------------------------------------------------------------------------
// Interpretation (interpreter.cc).

// Interpret SPEC.  0 success, -1 the spec failed (%e, a failed group or
// spec function), any other value the failure status of an executed
// command.  With LITERAL the whole text is appended to the argument under
// construction.  STAR_TEXT is what %* inserts (null when none).
int do_spec_1(const char *spec, bool literal, const char *star_text);
// From a clean argument state: interpret SPEC, finish a pending argument;
// executes only at newlines of SPEC.
int expand_spec(const char *spec, const char *star_text = nullptr);
// expand_spec, then execute what is left (a final "|" dropped).
int run_spec(const char *spec);
// Interpret SPEC and turn the resulting words into new switches.
void apply_self_spec(const char *spec);

// The seam to command execution.  Called with a complete command (or
// pipeline) in arg_buffer; returns 0 or the failure status.  Null: nothing
// runs and the result is 0.
extern int (*execute_command_hook)();
// Called before every command group is executed (even an empty one) to
// export the option list for the children.  Null: nothing.
extern void (*export_options_hook)();
// Called by apply_self_spec for every decoded spec-generated option that
// is handled like a command-line option.  Null (the default): the option
// goes through read_cmdline_option with the command line's handlers.
extern void (*self_spec_option_hook)(decoded_option *decoded);

// ---------------------------------------------------------------------------
// Temporary and output names (temp-names.cc).

// The escape LETTER (g u U j m |) at P (just after the letter) of SPEC;
// returns the position after its suffix.
const char *do_temp_name_escape(char letter, const char *p, const char *spec);
// The next -save-temps name test takes the identity of the new input.
void forget_input_identity();
// Forget every remembered temporary name (driver reset).
void reset_temp_name_memo();
// The generated temporary name that a temporary-name escape appended last
// (kept -save-temps names, "/dev/null" and "-" are not generated), or null
// before the first one: the temporary base for the process-execution
// library when it must name files of its own.
const char *last_temp_base();

// ---------------------------------------------------------------------------
// Directory options (path-options.cc).

void do_library_dir_options();  // %D
void do_header_options();       // %I

// ---------------------------------------------------------------------------
// Spec functions (function-call.cc).

// P is the text after "%:".  Calls the function with its expanded arguments
// and interprets its result.  *RETURNED (when given) tells whether the
// function returned a text.  Returns the position after ")", or null when
// interpreting the result failed.
const char *call_spec_function(const char *p, bool *returned, const char *star_text);

#endif
