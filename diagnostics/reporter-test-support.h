// Tests that report through the global reporter start from the driver's
// settings: no counts, nothing turned into errors, ASCII quotes.
#ifndef VRK_DIAGNOSTICS_REPORTER_TEST_SUPPORT_H
#define VRK_DIAGNOSTICS_REPORTER_TEST_SUPPORT_H

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/pretty-print.h"

#include <cstdlib>

inline void reset_reporter_for_test() {
  char *old_name = global_reporter.initialized
                       ? const_cast<char *>(global_reporter.program_name)
                       : nullptr;
  delete global_reporter.msg_printer;
  global_reporter = diagnostic_reporter{};
  std::free(old_name);
  diagnostic_initialize("vrk++");
  open_quote = close_quote = "'";
}

#endif
