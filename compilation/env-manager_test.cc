// The environment manager: undo of writes and the debug trace (the -v
// echo is checked by the driver tests).
#include "compilation/env-manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(EnvManager, RestoreUndoesWritesLastFirstWithTheirTrace) {
  unsetenv("VRK_ENV_T1");
  setenv("VRK_ENV_T2", "old", 1);
  env_manager m;
  m.init(true, true);
  testing::internal::CaptureStderr();
  m.xput("VRK_ENV_T1=a");
  m.xput("VRK_ENV_T2=b");
  m.xput("VRK_ENV_T2=c");
  EXPECT_STREQ(m.getenv("VRK_ENV_T2"), "c");
  m.restore();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "env_manager::xput (VRK_ENV_T1=a)\nsaving old value: (null)\n"
            "env_manager::xput (VRK_ENV_T2=b)\nsaving old value: old\n"
            "env_manager::xput (VRK_ENV_T2=c)\nsaving old value: b\n"
            "env_manager::getenv (VRK_ENV_T2) -> c\n"
            "restoring saved key: VRK_ENV_T2 value: b\n"
            "restoring saved key: VRK_ENV_T2 value: old\n"
            "restoring saved key: VRK_ENV_T1 value: (null)\n");
  EXPECT_EQ(std::getenv("VRK_ENV_T1"), nullptr);
  EXPECT_STREQ(std::getenv("VRK_ENV_T2"), "old");
  unsetenv("VRK_ENV_T2");
}

TEST(EnvManager, PutTextsKeepTheLastTextOfEachName) {
  env_manager m;
  static char first[] = "VRK_ENV_T3=x", second[] = "VRK_ENV_T3=y", again[] = "VRK_ENV_T3=y";
  m.xput(first);
  m.xput("VRK_ENV_T4=z");
  m.xput(second);
  // An equal text again changes nothing: the environment keeps the one it has.
  m.xput(again);
  ASSERT_EQ(m.put_texts().size(), 2u);
  EXPECT_EQ(m.put_texts()[0], second);
  EXPECT_STREQ(m.put_texts()[1], "VRK_ENV_T4=z");
  EXPECT_EQ(std::getenv("VRK_ENV_T3"), second + 11);
  unsetenv("VRK_ENV_T3");
  unsetenv("VRK_ENV_T4");
}

} // namespace
