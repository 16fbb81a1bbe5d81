// The reporter behind the entry points of diagnostic.h: its state, the
// record of one diagnostic and the steps of reporting it.  Code outside
// the diagnostics module normally needs only diagnostic.h; this header is
// for the module itself, its tests, and tools that reuse the reporter with
// source positions.
#ifndef VRK_DIAGNOSTICS_DIAGNOSTIC_REPORTER_H
#define VRK_DIAGNOSTICS_DIAGNOSTIC_REPORTER_H

#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/pretty-print.h"

// A location expanded to file, line and column (file null: none).
struct expanded_location {
  const char *file = nullptr;
  int line = 0;
  int column = 0;
  bool in_system_header = false;
};

struct diagnostic_rule {
  const char *name;
  const char *url; // may be null
};

struct diagnostic_metadata {
  int cwe = 0; // 0: none
  std::vector<diagnostic_rule> rules;
};

struct diagnostic_record {
  message_text message;
  location_t location = UNKNOWN_LOCATION;
  diagnostic_kind kind = kind_unspecified;
  int option_index = 0;
  const diagnostic_metadata *metadata = nullptr;
  // Locations of the inline stack, innermost first; empty means just
  // `location`.
  std::vector<location_t> inline_locations;
  bool system_header_warning = false; // set by report_diagnostic
};

enum diagnostic_column_unit : int { COLUMN_UNIT_DISPLAY = 0, COLUMN_UNIT_BYTE = 1 };

struct diagnostic_reporter;
using diagnostic_starter_fn = void (*)(diagnostic_reporter *, diagnostic_record *);
using diagnostic_finalizer_fn = void (*)(diagnostic_reporter *, diagnostic_record *, diagnostic_kind);
using diagnostic_final_fn = void (*)(diagnostic_reporter *);
using diagnostic_hook_fn = void (*)(diagnostic_reporter *);
using option_enabled_fn = bool (*)(int option_index, void *client_data);
using option_text_fn = char *(*)(diagnostic_reporter *, int option_index,
                                 diagnostic_kind requested, diagnostic_kind final_kind);
using option_url_fn = char *(*)(diagnostic_reporter *, int option_index);
using location_expander_fn = expanded_location (*)(location_t);

// One entry of the per-location classification history (#pragma-style
// changes of an option's kind from a location on).
struct classification_change {
  location_t location;
  int option_index;
  diagnostic_kind kind; // kind_pop: `pop_to` is the entry to continue at
  int pop_to;
};

struct diagnostic_reporter {
  message_printer *msg_printer = nullptr;
  int kind_counts[kind_last_diagnostic_kind] = {};
  int classified_option_count = 0;
  diagnostic_kind *classification = nullptr;
  std::vector<classification_change> history;
  bool bug_report_mode = false;
  int report_depth = 0;
  int group_depth = 0;
  int group_emissions = 0;

  diagnostic_starter_fn line_starter = nullptr;
  diagnostic_finalizer_fn line_finisher = nullptr;
  diagnostic_final_fn final_hook = nullptr;
  diagnostic_hook_fn internal_error_hook = nullptr;
  option_enabled_fn option_enabled_hook = nullptr;
  void *option_hook_data = nullptr;
  option_text_fn option_text_hook = nullptr;
  option_url_fn option_url_hook = nullptr;
  diagnostic_hook_fn begin_group_hook = nullptr;
  diagnostic_hook_fn end_group_hook = nullptr;
  diagnostic_hook_fn ice_hook = nullptr;
  location_expander_fn location_expander = nullptr;

  bool warnings_as_errors = false;
  bool errors_are_fatal = false;
  bool warnings_inhibited = false;
  bool pedwarns_as_errors = false;
  bool permerrors_as_warnings = false;
  int permissive_option = 0;
  bool system_header_warnings = false;
  bool notes_inhibited = false;
  bool option_suffix_shown = false;
  bool column_shown = false;
  bool cwe_shown = false;
  bool rules_shown = false;
  int error_limit = 0;
  bool errors_abort = false;
  int column_unit = COLUMN_UNIT_DISPLAY;
  int column_base = 1;
  int tab_width = 8;

  const char *program_name = "";
  bool initialized = false;
};

// The process's one reporter: a fatal error may be raised anywhere, from
// code that has no run record (the option machinery, the process library),
// and it must count and act on every message of the process.
extern diagnostic_reporter global_reporter;

// Label and colour name of every kind, indexed by kind value (the bound
// kind_last_diagnostic_kind included).
struct diagnostic_kind_info {
  const char *label;      // translated before use
  const char *color_name; // null: uncoloured
};
extern const diagnostic_kind_info diagnostic_kind_table[kind_last_diagnostic_kind + 1];

// Sets the reporter up on first use (program name: the invocation's last
// component) and gives it a printer again after the final step.
void diagnostic_ensure_printer(diagnostic_reporter *reporter);
// Reports `record`; true when it was printed.
bool report_diagnostic(diagnostic_reporter *reporter, diagnostic_record *record);
// "<locus>: <coloured label>" for `record`, as a new text.
char *diagnostic_build_prefix(diagnostic_reporter *reporter, const diagnostic_record *record);
// What follows a printed diagnostic of the final `kind` (may end the run).
void diagnostic_action_after_output(diagnostic_reporter *reporter, diagnostic_kind kind);
void diagnostic_finish(diagnostic_reporter *reporter);
expanded_location diagnostic_expand_location(const diagnostic_reporter *reporter,
                                             location_t loc);
// A negative value means the start-up default, "auto".
void set_color_mode(diagnostic_reporter *reporter, int value);
void set_url_mode(diagnostic_reporter *reporter, int value);

// Shortens a source file name for "in %s, at %s:%d".
const char *shortened_source_name(const char *file);

// Nesting of related diagnostics; the end hook runs when the outermost
// group that emitted something ends.
class diagnostic_group {
public:
  explicit diagnostic_group(diagnostic_reporter *reporter = &global_reporter);
  diagnostic_group(const diagnostic_group &) = delete;
  diagnostic_group &operator=(const diagnostic_group &) = delete;
  ~diagnostic_group();

private:
  diagnostic_reporter *reporter_;
};

#endif
