// Decoding of command-line words into options: the decoded-option record,
// its error bits, the handler table through which decoded options are
// applied, and the decoder's entry points (whole command line, one option,
// canonical forms, pruning of cancelled options, reporting and dispatch of
// one decoded option).
//
// Decoding only classifies; nothing is acted upon until read_cmdline_option.
// Strings the decoder makes come from a pool that lives as long as the
// program; the decoded array itself belongs to the caller (one free()).
#ifndef VRK_OPTIONS_OPTS_COMMON_H
#define VRK_OPTIONS_OPTS_COMMON_H

#include <cstddef>
#include <cstdint>

#include "diagnostics/diagnostic.h"
#include "options/option-table.h"

struct diagnostic_reporter;

// Decoding errors (decoded_option::errors).
enum : std::uint32_t {
  OPTERR_DISABLED = 0x01,      // the option (or its alias target) is unavailable
  OPTERR_MISSING_ARG = 0x02,   // a required argument is absent
  OPTERR_WRONG_LANG = 0x04,    // not valid for the language mask
  OPTERR_BAD_UINT = 0x08,      // an integer argument did not parse
  OPTERR_RANGE = 0x10,         // an integer argument is out of range
  OPTERR_BAD_ENUM = 0x20,      // an enumerated argument is not accepted
  OPTERR_NEGATIVE = 0x40,      // "no-" form of an option without one
  OPTERR_BAD_ENUM_SET = 0x80,  // a set-valued argument is malformed
};

// One decoded command-line option.
struct decoded_option {
  option_index opt_index;       // a record, or OPTION_UNKNOWN .. OPTION_INPUT_FILE
  const char *warning_message;  // issued whenever the option is used, or null
  const char *arg;              // argument after all rewriting, or null
  const char *orig_text;        // the consumed words joined by blanks
  const char *canonical[4];     // canonical spelling, one word per slot
  std::size_t canonical_count;  // canonical words in use
  std::int64_t value;           // 1/0 for positive/negative, or the integer
  std::int64_t mask;            // bits a set-valued argument replaces
  std::uint32_t errors;         // OPTERR_* bits
  // Index of the option's first word on the command line (after argument
  // files are expanded); -1 for options the driver made.
  int argv_index;
};

// A rewrite tried when a word is not found as written: a word starting
// with `prefix` (and, for two-word rows, followed by a word starting with
// `second_word`) is looked up as `replacement` followed by the remainder.
struct prefix_rewrite {
  const char *prefix;
  const char *second_word;  // null for one-word rows
  const char *replacement;
  bool needs_remainder;     // skip the row when the remainder is empty
  bool negative;            // the result is the option's negative form
};
extern const prefix_rewrite prefix_rewrites[];
extern const std::size_t prefix_rewrite_count;

struct option_handler_set;

// An option handler: true when it accepted the option.  `kind` is the
// diagnostic kind (the driver always passes kind_unspecified), `loc` the
// location (0 in the driver), `dc` the diagnostic reporter.
using option_handler_fn = bool (*)(option_values *opts, option_values *opts_set,
                                   const decoded_option *decoded, unsigned lang_mask,
                                   int kind, location_t loc,
                                   const option_handler_set *handlers,
                                   diagnostic_reporter *dc);

// Called for OPTION_UNKNOWN with the handler set's context; true means the
// generic "unrecognized command-line option" error must be issued.
using unknown_option_callback_fn = bool (*)(const decoded_option *decoded, void *context);
// Called for an option of another language (OPTERR_WRONG_LANG).
using wrong_lang_callback_fn = void (*)(const decoded_option *decoded, unsigned lang_mask,
                                        void *context);
// The target's option hook, passed through to the handlers.
using target_option_hook_fn = bool (*)(option_values *opts, option_values *opts_set,
                                       const decoded_option *decoded, location_t loc);

struct option_handler_param {
  option_handler_fn handler;
  unsigned mask;  // option classes (OPTF_*) the handler is called for
};

struct option_handler_set {
  unknown_option_callback_fn unknown_option_callback;
  wrong_lang_callback_fn wrong_lang_callback;
  target_option_hook_fn target_option_override_hook;
  std::size_t num_handlers;
  option_handler_param handlers[3];
  // What the handlers and callbacks act on (the driver's run record);
  // the option machinery only passes it on.
  void *context;
};

// Decode ARGV[0..ARGC) (ARGV[0] is the program name) with LANG_MASK into a
// new array (*OUT, freed by the caller with free()) of *OUT_COUNT entries,
// with cancelled options pruned.  A "--param" word followed by another
// word makes that word "--param=<word>" in ARGV.
void decode_command_line(unsigned argc, const char **argv, unsigned lang_mask,
                         decoded_option **out, unsigned *out_count);

// Decode the option at ARGV[0] (following words end with a null entry);
// returns the number of words consumed (1 to 5).
unsigned decode_cmdline_option(const char *const *argv, unsigned lang_mask,
                               decoded_option *decoded);
// The same, looking at no more than AVAILABLE words (at least 1).
unsigned decode_cmdline_option_n(const char *const *argv, unsigned available,
                                 unsigned lang_mask, decoded_option *decoded);

// Fill canonical[] and canonical_count for option OPT_INDEX with ARG/VALUE.
void generate_canonical_option(option_index opt_index, const char *arg, std::int64_t value,
                               decoded_option *decoded);

// A complete decoded option for an option chosen by code rather than typed.
void generate_option(option_index opt_index, const char *arg, std::int64_t value,
                     unsigned lang_mask, decoded_option *decoded);

// An OPTION_INPUT_FILE entry for FILE.
void make_input_file_option(const char *file, decoded_option *decoded);

// Remove options that later options cancel and move the last
// -Wcomplain-wrong-lang and -fdiagnostics-color= to the front.
void prune_options(decoded_option **decoded_options, unsigned *decoded_options_count);

// Report decoding errors of DECODED or dispatch it to the handlers.
void read_cmdline_option(option_values *opts, option_values *opts_set,
                         decoded_option *decoded, location_t loc, unsigned lang_mask,
                         const option_handler_set *handlers, diagnostic_reporter *dc);

// Report the first applicable error of ERRORS for option OPT_INDEX, typed
// as OPT, with argument ARG; true when something was reported.
bool report_decode_errors(location_t loc, option_index opt_index, const char *opt,
                          const char *arg, std::uint32_t errors, unsigned lang_mask);

// Parse a non-negative integer argument, optionally with a size unit.
// *ERR becomes 0, EINVAL or the conversion's error; failures give all ones.
std::uint64_t parse_integral_argument(const char *arg, int *err, bool allow_size_suffix);

// A copy of TEXT (or of its first LEN bytes) that lives for the rest of the
// program; never freed individually.
const char *opts_pool_strdup(const char *text);
const char *opts_pool_strndup(const char *text, std::size_t len);
// SIZE bytes from the pool.
char *opts_pool_alloc(std::size_t size);
// True once the pool exists (init_options_struct requires it).
bool opts_pool_initialized();

#endif
