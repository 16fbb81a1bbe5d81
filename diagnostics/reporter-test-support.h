// Tests that report through the global reporter start from the driver's
// settings: no counts, nothing turned into errors, ASCII quotes.
#ifndef VRK_DIAGNOSTICS_REPORTER_TEST_SUPPORT_H
#define VRK_DIAGNOSTICS_REPORTER_TEST_SUPPORT_H

#include <cstring>

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/pretty-print.h"

inline void reset_reporter_for_test() {
  diagnostic_reporter &r = global_reporter;
  diagnostic_initialize("vrk++");
  std::memset(r.kind_counts, 0, sizeof r.kind_counts);
  r.warnings_as_errors = r.errors_are_fatal = r.warnings_inhibited = false;
  r.pedwarns_as_errors = r.bug_report_mode = r.column_shown = false;
  r.error_limit = 0;
  r.report_depth = 0;
  r.location_expander = nullptr;
  open_quote = close_quote = "'";
}

#endif
