// Tests of the reporter: line format, kinds and their actions, counters,
// re-entry, shortened source names (the coloured prefix is
// diagnostics-color.test's).  The settings the driver never changes
// (warnings as errors, fatal errors, an error limit, inhibited warnings,
// locations) keep their defaults here too, and the entry points it never
// calls (plural forms, pedantic warnings, sorry lines) are left out.
#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/reporter-test-support.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "diagnostics/backtrace.h"
#include "support/error-exit.h"
#include "support/scratch-dir-test-support.h"

namespace {

using ::testing::ExitedWithCode;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class reporter_test : public ::testing::Test {
protected:
  void SetUp() override { reset_reporter_for_test(); }
};

TEST_F(reporter_test, DriverLinesAndKinds) {
  CaptureStderr();
  EXPECT_TRUE(warning_noloc(0, "%qs is deprecated", "-x"));
  inform(UNKNOWN_LOCATION, "see %s", "here");
  EXPECT_FALSE(seen_error()) << "warnings and notes are not errors";
  error_noloc("unrecognized command-line option %<-%s%>", "fbogus");
  errno = ENOENT;
  error_noloc("cannot open %qs: %m", "f");
  EXPECT_EQ(GetCapturedStderr(), std::string("vrk++: warning: '-x' is deprecated\n"
                                             "vrk++: note: see here\n"
                                             "vrk++: error: unrecognized command-line option "
                                             "'-fbogus'\n"
                                             "vrk++: error: cannot open 'f': ") +
                                     std::strerror(ENOENT) + "\n");
  EXPECT_EQ(diagnostic_count(kind_error), 2);
  EXPECT_EQ(diagnostic_count(kind_warning), 1);
  EXPECT_EQ(diagnostic_count(kind_note), 1);
  EXPECT_TRUE(seen_error());
}

TEST_F(reporter_test, ShortenedSourceNames) {
  EXPECT_STREQ(shortened_source_name("../../driver/vrk.cc"), "driver/vrk.cc");
  EXPECT_STREQ(shortened_source_name("..//abs.cc"), "..//abs.cc");
  EXPECT_STREQ(shortened_source_name("spec/braces.cc"), "spec/braces.cc");
  std::string inside = std::string(VRK_TEST_SOURCE_DIR) + "/driver/vrk.cc";
  EXPECT_STREQ(shortened_source_name(inside.c_str()), "driver/vrk.cc");
  std::string sibling = std::string(VRK_TEST_SOURCE_DIR) + "/diagnostics/pretty-print.cc";
  EXPECT_STREQ(shortened_source_name(sibling.c_str()), "pretty-print.cc");
  EXPECT_STREQ(shortened_source_name("/elsewhere/x.cc"), "elsewhere/x.cc");
}

TEST_F(reporter_test, BacktraceNamesOwnFunctions) {
  int frames = 0;
  std::string text = printed([&](std::FILE *out) { frames = print_backtrace(out); });
  EXPECT_GT(frames, 0);
  EXPECT_LE(frames, 20);
  EXPECT_NE(text.find("0x"), std::string::npos);
  EXPECT_NE(text.find("\t???:0\n"), std::string::npos);
  EXPECT_NE(text.find("testing::"), std::string::npos) << text;
}

TEST_F(reporter_test, EndsOfTheRunGoThroughTheExitHook) {
  // A caller that must survive fatal and internal errors (a fuzz target)
  // takes the exit over; the message is printed and counted first.
  struct ended {
    int status;
  };
  error_exit_handler saved = error_exit_hook;
  error_exit_hook = [](int status) { throw ended{status}; };
  auto status_of = [](auto report) {
    try {
      report();
    } catch (const ended &e) {
      return e.status;
    }
    return -1;
  };
  CaptureStderr();
  EXPECT_EQ(status_of([] { fatal_error(UNKNOWN_LOCATION, "no input files"); }), 1);
  global_reporter.report_depth = 0;
  diagnostic_ensure_printer(&global_reporter);
  EXPECT_EQ(status_of([] { internal_error("in %s", "f"); }), 4);
  global_reporter.report_depth = 0;
  EXPECT_EQ(GetCapturedStderr().rfind("vrk++: fatal error: no input files\n"
                                      "compilation terminated.\n"
                                      "vrk++: internal compiler error: in f\n",
                                      0),
            0u);
  EXPECT_EQ(diagnostic_count(kind_fatal), 1);
  error_exit_hook = saved;
}

using reporter_death_test = reporter_test;

TEST_F(reporter_death_test, InternalErrorPrintsBugReportNotice) {
  EXPECT_EXIT(internal_error("broken %s", "thing"), ExitedWithCode(4),
              "vrk\\+\\+: internal compiler error: broken thing\n"
              "(.|\n)*Please submit a full bug report, with preprocessed source "
              "\\(by using -freport-bug\\)\\.\n"
              "Please include the complete backtrace with any bug report\\.\n"
              "See <https://bugs\\.tolv\\.example/vrk/> for instructions\\.\n$");
  diagnostic_set_bug_report_mode(true);
  EXPECT_EXIT(internal_error_no_backtrace("child died"), ExitedWithCode(4),
              "^vrk\\+\\+: internal compiler error: child died\n"
              "Please submit a full bug report, with preprocessed source\\.\n"
              "See <https://bugs\\.tolv\\.example/vrk/> for instructions\\.\n$");
  diagnostic_set_bug_report_mode(false);
}

TEST_F(reporter_death_test, BailOutAfterErrorsAndAssertionsWithTheirSource) {
  EXPECT_EXIT(
      {
        error_noloc("first");
        internal_error("follow-on");
      },
      ExitedWithCode(4), "^vrk\\+\\+: error: first\nvrk\\+\\+:0: confused by earlier errors, "
                         "bailing out\n$");
  EXPECT_EXIT(vrk_assert(1 + 1 == 3), ExitedWithCode(4),
              "vrk\\+\\+: internal compiler error: in TestBody, at "
              "(diagnostics/)?diagnostic_test\\.cc:[0-9]+\n");
}

TEST_F(reporter_death_test, AssertionWithoutPrinterAborts) {
  EXPECT_DEATH(
      {
        diagnostic_finish();
        vrk_unreachable();
      },
      "^internal compiler error: in TestBody, at (diagnostics/)?diagnostic_test\\.cc:[0-9]+\n");
}

// A decoder that reports while its message is being formatted.
bool nested_error_decoder(message_printer *, message_text *, const char *, int, bool, bool, bool,
                          bool *) {
  error_noloc("nested");
  return true;
}
bool nested_ice_decoder(message_printer *, message_text *, const char *, int, bool, bool, bool,
                        bool *) {
  vrk_unreachable();
}

TEST_F(reporter_death_test, ReentryIsAnInternalError) {
  global_reporter.msg_printer->format_decoder = nested_error_decoder;
  EXPECT_EXIT(error_noloc("outer %D", 1), ExitedWithCode(4),
              "internal compiler error: error reporting routines re-entered\\.\n");
  global_reporter.msg_printer->format_decoder = nested_ice_decoder;
  EXPECT_EXIT(warning_noloc(0, "outer %D", 1), ExitedWithCode(4),
              "vrk\\+\\+: internal compiler error: in nested_ice_decoder, at "
              "(diagnostics/)?diagnostic_test\\.cc:[0-9]+\n");
  global_reporter.msg_printer->format_decoder = nullptr;
}

} // namespace
