// The reporter behind the entry points of diagnostic.h: its state, the
// record of one diagnostic and the steps of reporting it.  Code outside
// the diagnostics module normally needs only diagnostic.h; this header is
// for the module itself, its tests, and tools that reuse the reporter with
// source positions.
#ifndef VRK_DIAGNOSTICS_DIAGNOSTIC_REPORTER_H
#define VRK_DIAGNOSTICS_DIAGNOSTIC_REPORTER_H

#include "diagnostics/diagnostic.h"
#include "diagnostics/pretty-print.h"

// A location expanded to file, line and column (file null: none).
struct expanded_location {
  const char *file = nullptr;
  int line = 0;
  int column = 0;
};

struct diagnostic_record {
  message_text message;
  location_t location = UNKNOWN_LOCATION;
  diagnostic_kind kind = kind_unspecified;
  int option_index = 0;
};

struct diagnostic_reporter;
using diagnostic_starter_fn = void (*)(diagnostic_reporter *, diagnostic_record *);
using diagnostic_finalizer_fn = void (*)(diagnostic_reporter *, diagnostic_record *, diagnostic_kind);
using diagnostic_final_fn = void (*)(diagnostic_reporter *);
using location_expander_fn = expanded_location (*)(location_t);

// The reporter's state.  The driver's own lines have no location and no
// option; the settings below that the driver never changes (the options
// beside them reach the compilers as switches) keep their values for the
// whole run.
struct diagnostic_reporter {
  message_printer *msg_printer = nullptr;
  int kind_counts[kind_last_diagnostic_kind] = {};
  bool bug_report_mode = false;  // -freport-bug
  int report_depth = 0;          // re-entry guard

  diagnostic_starter_fn line_starter = nullptr;
  diagnostic_finalizer_fn line_finisher = nullptr;
  diagnostic_final_fn final_hook = nullptr;
  location_expander_fn location_expander = nullptr;  // none in the driver

  bool warnings_as_errors = false;  // -Werror
  bool errors_are_fatal = false;    // -Wfatal-errors
  bool warnings_inhibited = false;  // -w
  bool pedwarns_as_errors = false;  // -pedantic-errors
  bool column_shown = false;
  int error_limit = 0;              // -fmax-errors=; 0: unlimited

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

#endif
