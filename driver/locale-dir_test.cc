// The catalogue directory follows the driver like its program directories.
#include "driver/locale-dir.h"

#include <gtest/gtest.h>

#include <string>

TEST(InstalledLocaleDir, RelativeToTheDriverOrItsExecPrefix) {
  EXPECT_EQ(std::string(installed_locale_dir("/opt/x/bin/vrk++", nullptr, false)),
            "/opt/x/bin/../share/locale");
  EXPECT_EQ(std::string(installed_locale_dir("/opt/x/bin/vrk++", "/opt/y/lib/vrk/", false)),
            "/opt/y/lib/vrk/../../share/locale");
  // In its configured place, the configured catalogue directory.
  EXPECT_EQ(std::string(installed_locale_dir("/usr/local/tolv13/bin/vrk++", nullptr, false)),
            "/usr/local/tolv13/share/locale");
}
