// Shared helpers of the option machinery's unit tests: a fixture that puts
// the reporter into a known state and captures what it prints.
#ifndef VRK_OPTIONS_OPTS_TEST_SUPPORT_H
#define VRK_OPTIONS_OPTS_TEST_SUPPORT_H

#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "diagnostics/diagnostic-reporter.h"

class diagnostics_fixture : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_reporter &r = global_reporter;
    diagnostic_initialize("vrk++");
    std::memset(r.kind_counts, 0, sizeof r.kind_counts);
    r.warnings_as_errors = r.errors_are_fatal = r.warnings_inhibited = false;
    r.bug_report_mode = false;
    r.error_limit = 0;
    r.report_depth = 0;
    open_quote = close_quote = "'";
    ::testing::internal::CaptureStderr();
    capturing_ = true;
  }
  void TearDown() override {
    if (capturing_)
      ::testing::internal::GetCapturedStderr();
  }
  // What was printed since the last call (capture continues).
  std::string diagnostics() {
    std::string text = ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    return text;
  }
  int errors() { return diagnostic_count(kind_error); }

private:
  bool capturing_ = false;
};

#endif
