// The environment manager: undo of writes and the debug trace (the -v
// echo is checked by the driver tests).
#include "driver/env-manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>


namespace {

TEST(EnvManager, RestoreUndoesWritesLastFirst) {
  unsetenv("VRK_ENV_T1");
  setenv("VRK_ENV_T2", "old", 1);
  env_manager m;
  m.init(true, false);
  m.xput("VRK_ENV_T1=a");
  m.xput("VRK_ENV_T2=b");
  m.xput("VRK_ENV_T2=c");
  EXPECT_STREQ(m.getenv("VRK_ENV_T1"), "a");
  EXPECT_STREQ(m.getenv("VRK_ENV_T2"), "c");
  m.restore();
  EXPECT_EQ(m.getenv("VRK_ENV_T1"), nullptr);
  EXPECT_STREQ(m.getenv("VRK_ENV_T2"), "old");
  unsetenv("VRK_ENV_T2");
}

TEST(EnvManager, DebugTrace) {
  setenv("VRK_ENV_T4", "v", 1);
  env_manager m;
  m.init(true, true);
  testing::internal::CaptureStderr();
  m.getenv("VRK_ENV_T4");
  m.xput("VRK_ENV_T4=w");
  m.restore();
  std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_EQ(trace, "env_manager::getenv (VRK_ENV_T4) -> v\n"
                   "env_manager::xput (VRK_ENV_T4=w)\n"
                   "saving old value: v\n"
                   "restoring saved key: VRK_ENV_T4 value: v\n");
  unsetenv("VRK_ENV_T4");
}

} // namespace
