// The entry points of the reporter: each translates its format and fills
// a record; also the plain-text output notice_text.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/intl.h"
#include "support/text.h"
#include "support/xmalloc.h"

// `saved_errno` is the errno of the caller's moment, before translation
// or anything else could change it.
static bool diagnostic_report_entry(int saved_errno, diagnostic_kind kind, location_t loc,
                                    int option, const char *msgid, std::va_list *ap) {
  diagnostic_record record;
  record.message.format = msgid;
  record.message.args = ap;
  record.message.saved_errno = saved_errno;
  record.location = loc;
  record.kind = kind;
  record.option_index = option;
  return report_diagnostic(&global_reporter, &record);
}

#define DIAGNOSTIC_ENTRY(RESULT, KIND, LOC, OPTION, MSGID, LAST)                            \
  int saved_errno = errno;                                                                  \
  std::va_list ap;                                                                          \
  va_start(ap, LAST);                                                                       \
  RESULT diagnostic_report_entry(saved_errno, KIND, LOC, OPTION, translate(MSGID), &ap);    \
  va_end(ap)

void fatal_error(location_t loc, const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_fatal, loc, 0, gmsgid, gmsgid);
  std::abort(); // only reached if the fatal error was suppressed
}

void internal_error(const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_ice, UNKNOWN_LOCATION, 0, gmsgid, gmsgid);
  std::abort();
}

void internal_error_no_backtrace(const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_ice_no_backtrace, UNKNOWN_LOCATION, 0, gmsgid, gmsgid);
  std::abort();
}

void error_at(location_t loc, const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_error, loc, 0, gmsgid, gmsgid);
}

void error_noloc(const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_error, UNKNOWN_LOCATION, 0, gmsgid, gmsgid);
}

bool warning_at(location_t loc, int opt, const char *gmsgid, ...) {
  bool printed;
  DIAGNOSTIC_ENTRY(printed =, kind_warning, loc, opt, gmsgid, gmsgid);
  return printed;
}

bool warning_noloc(int opt, const char *gmsgid, ...) {
  bool printed;
  DIAGNOSTIC_ENTRY(printed =, kind_warning, UNKNOWN_LOCATION, opt, gmsgid, gmsgid);
  return printed;
}

bool warning_n(location_t loc, int opt, unsigned long n, const char *singular_gmsgid,
               const char *plural_gmsgid, ...) {
  int saved_errno = errno;
  std::va_list ap;
  va_start(ap, plural_gmsgid);
  bool printed = diagnostic_report_entry(saved_errno, kind_warning, loc, opt,
                                         translate_plural(singular_gmsgid, plural_gmsgid, n), &ap);
  va_end(ap);
  return printed;
}

void inform(location_t loc, const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_note, loc, 0, gmsgid, gmsgid);
}

void inform_n(location_t loc, unsigned long n, const char *singular_gmsgid,
              const char *plural_gmsgid, ...) {
  int saved_errno = errno;
  std::va_list ap;
  va_start(ap, plural_gmsgid);
  diagnostic_report_entry(saved_errno, kind_note, loc, 0,
                          translate_plural(singular_gmsgid, plural_gmsgid, n), &ap);
  va_end(ap);
}

bool pedwarn(location_t loc, int opt, const char *gmsgid, ...) {
  bool printed;
  DIAGNOSTIC_ENTRY(printed =, kind_pedwarn, loc, opt, gmsgid, gmsgid);
  return printed;
}

bool permerror(location_t loc, const char *gmsgid, ...) {
  bool printed;
  DIAGNOSTIC_ENTRY(printed =, kind_error, loc, 0, gmsgid, gmsgid);
  return printed;
}

void sorry_noloc(const char *gmsgid, ...) {
  DIAGNOSTIC_ENTRY((void), kind_sorry, UNKNOWN_LOCATION, 0, gmsgid, gmsgid);
}

void notice_text(std::FILE *stream, const char *gmsgid, ...) {
  std::va_list ap;
  va_start(ap, gmsgid);
  // Built first and written at once: one write per message.
  char *text = xvasprintf(translate(gmsgid), ap);
  va_end(ap);
  std::fputs(text, stream);
  std::fflush(stream);
  std::free(text);
}

void notice_line(std::FILE *stream, const char *text) {
  std::size_t length = std::strlen(text);
  char *line = static_cast<char *>(xmalloc(length + 1));
  std::memcpy(line, text, length);
  line[length] = '\n';
  // Not flushed: standard error is unbuffered, except under -### where
  // the listing is buffered on purpose.
  std::fwrite(line, 1, length + 1, stream);
  std::free(line);
}
