// Relocation relative to the program's actual location.
#include "process/relocate.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const bindir = "/usr/local/tolv13/bin/";
const char *const libdir = "/usr/local/tolv13/lib/vrk/";

std::vector<std::string> split(const char *path, int *count) {
  std::vector<std::string> result;
  char **dirs = split_directories(path, count);
  for (char **p = dirs; p && *p; ++p)
    result.push_back(*p);
  free_split_directories(dirs);
  return result;
}

std::string take(char *text) {
  std::string s = text ? text : "<null>";
  std::free(text);
  return s;
}

TEST(SplitDirectories, ComponentsKeepTheirSlashes) {
  int count = -1;
  EXPECT_EQ(split("/usr//local/bin", &count),
            (std::vector<std::string>{"/", "usr//", "local/", "bin"}));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(split("a/b/", &count), (std::vector<std::string>{"a/", "b/"}));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(split("name", &count), (std::vector<std::string>{"name"}));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(split_directories("", &count), nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(split_directories(nullptr, nullptr), nullptr);
}

TEST(RelativePrefix, MovedInstallationPointsBackIntoItself) {
  EXPECT_EQ(take(relative_prefix("/opt/x/bin/vrk", bindir, libdir, false)),
            "/opt/x/bin/../lib/vrk/");
  // A relative invocation stays relative.
  EXPECT_EQ(take(relative_prefix("tree/bin/vrk", bindir, "/usr/local/tolv13/libexec/vrk/",
                                 false)),
            "tree/bin/../libexec/vrk/");
  // Every component of the program directory not shared with the target
  // climbs once.
  EXPECT_EQ(take(relative_prefix("/p/q/vrk", "/a/b/c/", "/a/d/", false)), "/p/q/../../d/");
}

TEST(RelativePrefix, NothingToRelocate) {
  // Running from the configured place.
  EXPECT_EQ(relative_prefix("/usr/local/tolv13/bin/vrk", bindir, libdir, false), nullptr);
  // No component in common between program and target directory.
  EXPECT_EQ(relative_prefix("/opt/bin/vrk", "a/bin/", "b/lib/", false), nullptr);
  // Missing arguments.
  EXPECT_EQ(relative_prefix(nullptr, bindir, libdir, false), nullptr);
  EXPECT_EQ(relative_prefix("/opt/vrk", nullptr, libdir, false), nullptr);
  EXPECT_EQ(relative_prefix("/opt/vrk", bindir, nullptr, false), nullptr);
  EXPECT_EQ(relative_prefix("/opt/vrk", bindir, "", false), nullptr);
}

class RelocateTreeTest : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/vrk-reloc-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    char real[PATH_MAX];
    ASSERT_NE(realpath(templ, real), nullptr);
    dir_ = real;
    const char *path = std::getenv("PATH");
    saved_path_ = path ? path : "";
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  void make_program(const std::string &path, mode_t mode) {
    std::ofstream(path) << "#!/bin/sh\n";
    chmod(path.c_str(), mode);
  }

  std::string dir_;
  std::string saved_path_;
};

TEST_F(RelocateTreeTest, ProgramFoundAlongPath) {
  std::string early = dir_ + "/early", bin = dir_ + "/bin";
  mkdir(early.c_str(), 0755);
  mkdir(bin.c_str(), 0755);
  // Neither a directory nor a file without execute permission of the
  // program's name is taken.
  mkdir((early + "/vrktool").c_str(), 0755);
  make_program(dir_ + "/vrktool", 0644);
  make_program(bin + "/vrktool", 0755);
  std::string path = early + "::" + dir_ + ":" + bin + "/";
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(take(relative_prefix("vrktool", bindir, libdir, false)),
            bin + "/../lib/vrk/");

  // Not found at all: the bare name has no directory.
  setenv("PATH", early.c_str(), 1);
  EXPECT_EQ(relative_prefix("vrk-missing", bindir, libdir, false), nullptr);
}

TEST_F(RelocateTreeTest, SymbolicLinksAreResolvedOnRequest) {
  std::string real_bin = dir_ + "/real/bin", link_dir = dir_ + "/links";
  ASSERT_EQ(std::system(("mkdir -p '" + real_bin + "' '" + link_dir + "'").c_str()), 0);
  make_program(real_bin + "/vrk", 0755);
  ASSERT_EQ(symlink((real_bin + "/vrk").c_str(), (link_dir + "/vrk").c_str()), 0);

  std::string via_link = link_dir + "/vrk";
  EXPECT_EQ(take(relative_prefix(via_link.c_str(), bindir, libdir, true)),
            real_bin + "/../lib/vrk/");
  EXPECT_EQ(take(relative_prefix(via_link.c_str(), bindir, libdir, false)),
            link_dir + "/../lib/vrk/");
  // "." and ".." are removed by the canonical form too.
  std::string dotted = dir_ + "/real/./bin/../bin/vrk";
  EXPECT_EQ(take(relative_prefix(dotted.c_str(), bindir, libdir, true)),
            real_bin + "/../lib/vrk/");
  // A path that cannot be resolved is used as it is.
  EXPECT_EQ(take(relative_prefix("/no/such/bin/vrk", bindir, libdir, true)),
            "/no/such/bin/../lib/vrk/");
}

} // namespace
