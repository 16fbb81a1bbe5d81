// Relocation relative to the program's actual location.  Symbolic links
// and -no-canonical-prefixes are checked end to end by the driver tests.
#include "process/relocate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/scratch-dir-test-support.h"

namespace {

const char *const bindir = "/usr/local/tolv13/bin/";
const char *const libdir = "/usr/local/tolv13/lib/vrk/";

std::string take(char *text) {
  std::string s = text ? text : "<null>";
  std::free(text);
  return s;
}

TEST(RelativePrefix, MovedOrNot) {
  struct {
    const char *prog, *bin, *target;
    bool resolve;
    const char *want;
  } cases[] = {
      {"/opt/x/bin/vrk", bindir, libdir, false, "/opt/x/bin/../lib/vrk/"},
      // A relative invocation stays relative.
      {"tree/bin/vrk", bindir, "/usr/local/tolv13/libexec/vrk/", false,
       "tree/bin/../libexec/vrk/"},
      // Every component of the program directory not shared with the
      // target climbs once.
      {"/p/q/vrk", "/a/b/c/", "/a/d/", false, "/p/q/../../d/"},
      // A path that cannot be resolved is used as it is.
      {"/no/such/bin/vrk", bindir, libdir, true, "/no/such/bin/../lib/vrk/"},
      // Running from the configured place: nothing to relocate.
      {"/usr/local/tolv13/bin/vrk", bindir, libdir, false, nullptr},
      // No component in common between program and target directory.
      {"/opt/bin/vrk", "a/bin/", "b/lib/", false, nullptr},
      {nullptr, bindir, libdir, false, nullptr},
      {"/opt/vrk", nullptr, libdir, false, nullptr},
      {"/opt/vrk", bindir, nullptr, false, nullptr},
      {"/opt/vrk", bindir, "", false, nullptr},
  };
  for (const auto &c : cases)
    EXPECT_EQ(take(relative_prefix(c.prog, c.bin, c.target, c.resolve)),
              c.want ? c.want : "<null>")
        << (c.prog ? c.prog : "<null>");
}

TEST(RelativePrefix, ProgramFoundAlongPath) {
  scratch_dir t;
  const char *old_path = std::getenv("PATH");
  std::string saved_path = old_path ? old_path : "";
  // Neither a directory nor a file without execute permission of the
  // program's name is taken; an empty element is the current directory.
  t.dir("early/vrktool");
  t.file("vrktool", "#!/bin/sh\n");
  t.script("bin/vrktool", "");
  setenv("PATH", (t.path("early") + "::" + t.root() + ":" + t.path("bin/")).c_str(), 1);
  EXPECT_EQ(take(relative_prefix("vrktool", bindir, libdir, false)),
            t.path("bin") + "/../lib/vrk/");

  // Not found at all: the bare name has no directory.
  setenv("PATH", t.path("early").c_str(), 1);
  EXPECT_EQ(relative_prefix("vrk-missing", bindir, libdir, false), nullptr);
  setenv("PATH", saved_path.c_str(), 1);
}

} // namespace
