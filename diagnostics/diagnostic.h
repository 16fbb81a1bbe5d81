// The diagnostic reporter: every message the driver and its option
// machinery address to the user goes through these entry points.  Formats
// use the message formatter's directives (%qs, %<, %>, %m, ...) and are
// translated through the message catalogue before use.
//
// A driver line is "<program>: <label><message>", for example
//   vrk++: fatal error: no input files
#ifndef VRK_DIAGNOSTICS_DIAGNOSTIC_H
#define VRK_DIAGNOSTICS_DIAGNOSTIC_H

#include <cstdarg>
#include <cstdio>

#include "diagnostics/diagnostic-color.h"

// A source location; 0 means none (the driver's own diagnostics have none).
using location_t = unsigned int;
inline constexpr location_t UNKNOWN_LOCATION = 0;

enum diagnostic_kind : int {
  kind_unspecified = 0,
  kind_ignored = 1,
  kind_fatal = 2,
  kind_ice = 3,
  kind_error = 4,
  kind_sorry = 5,
  kind_warning = 6,
  kind_anachronism = 7,
  kind_note = 8,
  kind_debug = 9,
  kind_path = 10,
  kind_pedwarn = 11,
  kind_permerror = 12,
  kind_werror = 13,
  kind_ice_no_backtrace = 14,
  kind_last_diagnostic_kind = 15,
  kind_pop = 16,
};

// Set up the one reporter of the process (printer on standard error).
// `program_name` is what every line starts with.
void diagnostic_initialize(const char *program_name);

// Entry points.  The driver passes location 0 and option 0.
[[noreturn]] void fatal_error(location_t loc, const char *gmsgid, ...);
[[noreturn]] void internal_error(const char *gmsgid, ...);
[[noreturn]] void internal_error_no_backtrace(const char *gmsgid, ...);
void error_at(location_t loc, const char *gmsgid, ...);
void error_noloc(const char *gmsgid, ...);
bool warning_at(location_t loc, int opt, const char *gmsgid, ...);
bool warning_noloc(int opt, const char *gmsgid, ...);
bool warning_n(location_t loc, int opt, unsigned long n, const char *singular_gmsgid,
               const char *plural_gmsgid, ...);
void inform(location_t loc, const char *gmsgid, ...);
void inform_n(location_t loc, unsigned long n, const char *singular_gmsgid,
              const char *plural_gmsgid, ...);
bool pedwarn(location_t loc, int opt, const char *gmsgid, ...);
bool permerror(location_t loc, const char *gmsgid, ...);
void sorry_noloc(const char *gmsgid, ...);

// Translate `gmsgid` and print it to `stream` with plain printf formatting:
// no prefix, not counted, no action ("compilation terminated.\n", -v output).
void notice_text(std::FILE *stream, const char *gmsgid, ...);
// TEXT as it stands and a newline, in one write: for texts that are data
// (an environment setting echoed under -v), whatever their length.
void notice_line(std::FILE *stream, const char *text);

// The target of every internal consistency check.
[[noreturn]] void abort_at_source(const char *file, int line, const char *function);
#define vrk_assert(EXPR) \
  ((EXPR) ? (void)0 : abort_at_source(__FILE__, __LINE__, __func__))
#define vrk_unreachable() abort_at_source(__FILE__, __LINE__, __func__)

// Counters.  `seen_error` is true once any error-kind counter is not 0
// (kind_error, kind_sorry, kind_werror, kind_fatal, kind_ice...).
int &diagnostic_count(diagnostic_kind kind);
bool seen_error();

// Settings the driver's options reach.
void diagnostic_set_bug_report_mode(bool on);   // -freport-bug
void diagnostic_finish();
// -fdiagnostics-color= and -fdiagnostics-urls= (values of
// diagnostic_color_mode / diagnostic_url_mode; negative: the start-up
// default "auto").  Each call makes the decision again.
void diagnostic_color_init(int value);
void diagnostic_urls_init(int value);

#endif
