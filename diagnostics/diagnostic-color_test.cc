// Tests of the colour lookups, VRK_COLORS parsing and the colour decision.
// (No message of the driver holds a hyperlink, so the hyperlink setting
// changes no output and is not tested.)
#include "diagnostics/diagnostic-color.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"

namespace {

bool fake_terminal = false;
bool fake_is_terminal() { return fake_terminal; }

class color_test : public ::testing::Test {
protected:
  void SetUp() override {
    for (std::size_t i = 0; i < color_table_size; ++i)
      saved_.push_back(color_table[i]);
    for (const char *name : {"VRK_COLORS", "TERM"}) {
      const char *value = std::getenv(name);
      env_.push_back({name, value ? value : "", value != nullptr});
      unsetenv(name);
    }
    stderr_is_terminal = fake_is_terminal;
    fake_terminal = false;
  }
  void TearDown() override {
    for (std::size_t i = 0; i < color_table_size; ++i) {
      if (color_table[i].allocated && color_table[i].start != saved_[i].start)
        std::free(const_cast<char *>(color_table[i].start));
      color_table[i] = saved_[i];
    }
    for (const saved_variable &v : env_)
      v.set ? setenv(v.name, v.value.c_str(), 1) : unsetenv(v.name);
  }
  static std::string start_of(const char *name) { return color_start(true, name); }

  struct saved_variable {
    const char *name;
    std::string value;
    bool set;
  };
  std::vector<color_entry> saved_;
  std::vector<saved_variable> env_;
};

TEST_F(color_test, LookupsAndOverrides) {
  // Whole names only; nothing without colour.
  EXPECT_EQ(start_of("type-diff"), "\33[01;32m\33[K");
  EXPECT_EQ(start_of("err"), "");
  EXPECT_EQ(start_of("errors"), "");
  EXPECT_STREQ(color_start(false, "error"), "");
  EXPECT_STREQ(color_end(true), "\33[m\33[K");
  EXPECT_STREQ(color_end(false), "");

  // Entries apply in order (the driver tests check an unknown name being
  // skipped and a bad value stopping the list): one without "=" changes
  // nothing, a later one replaces an earlier one, an empty value is kept.
  EXPECT_TRUE(parse_color_overrides("error=7:warning=4:note:error=33:quote="));
  EXPECT_EQ(start_of("error"), "\33[33m\33[K");
  EXPECT_EQ(start_of("warning"), "\33[4m\33[K");
  EXPECT_EQ(start_of("note"), "\33[01;36m\33[K");
  EXPECT_EQ(start_of("quote"), "\33[m\33[K");
  // Malformed entries stop the list.
  for (const char *text : {"=1:error=34", "error=1=2:error=34", ":::", "error=\33]evil"})
    EXPECT_TRUE(parse_color_overrides(text)) << text;
  EXPECT_EQ(start_of("error"), "\33[33m\33[K") << "escape bytes never reach the table";
}

TEST_F(color_test, ColourDecision) {
  // The driver tests check "always", "never", an empty VRK_COLORS and
  // "auto" on a pipe.
  setenv("TERM", "xterm", 1);
  fake_terminal = true;
  EXPECT_TRUE(color_mode_init(DIAGNOSTICS_COLOR_AUTO));
  setenv("TERM", "dumb", 1);
  EXPECT_FALSE(color_mode_init(DIAGNOSTICS_COLOR_AUTO));
  unsetenv("TERM");
  EXPECT_FALSE(color_mode_init(DIAGNOSTICS_COLOR_AUTO));
}

TEST_F(color_test, ReporterModesNegativeMeansAuto) {
  diagnostic_initialize("vrk++");
  setenv("TERM", "xterm", 1);
  fake_terminal = true;
  diagnostic_color_init(-1);
  EXPECT_TRUE(global_reporter.msg_printer->show_color);
  diagnostic_color_init(DIAGNOSTICS_COLOR_NEVER);
  EXPECT_FALSE(global_reporter.msg_printer->show_color);
  fake_terminal = false;
  diagnostic_color_init(DIAGNOSTICS_COLOR_ALWAYS);
  EXPECT_TRUE(global_reporter.msg_printer->show_color);
  diagnostic_color_init(DIAGNOSTICS_COLOR_NEVER);
}

} // namespace
