// Unclaimed switches are errors, with a hint when one is close enough.
#include "driver/unclaimed.h"

#include <gtest/gtest.h>

#include <string>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/opt-suggestions.h"

namespace {

TEST(Unclaimed, EveryUnclaimedSwitchIsReported) {
  saved_switch_count = 0;
  save_switch("-Wall", 0, nullptr, true, true);
  save_switch("-Wextr", 0, nullptr, false, false);
  save_switch("-qqqqqqqqqqqq", 0, nullptr, false, false);
  option_proposer proposer;
  int errors = diagnostic_count(kind_error);
  testing::internal::CaptureStderr();
  report_unclaimed_switches(proposer);
  std::string out = testing::internal::GetCapturedStderr();
  EXPECT_EQ(diagnostic_count(kind_error), errors + 2);
  EXPECT_NE(out.find("unrecognized command-line option"), std::string::npos);
  EXPECT_NE(out.find("-Wextr"), std::string::npos);
  EXPECT_NE(out.find("did you mean"), std::string::npos);
  EXPECT_NE(out.find("-qqqqqqqqqqqq"), std::string::npos);
  EXPECT_EQ(out.find("-Wall"), std::string::npos);
  saved_switch_count = 0;
}

} // namespace
