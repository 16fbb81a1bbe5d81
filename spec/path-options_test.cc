// Directory options (%D, %I) and file lookups of finished arguments (%s,
// %T) over real directories made for the test.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "process/prefixes.h"
#include "spec/multilib.h"
#include "spec/spec-test-support.h"

namespace {

// One directory tree for the whole program: the prefix lists only grow.
const std::string &test_root() {
  static std::string root = [] {
    char dir_template[] = "/tmp/vrk-spec-dirs-XXXXXX";
    std::string r = mkdtemp(dir_template);
    mkdir((r + "/inc").c_str(), 0700);
    mkdir((r + "/inc/include").c_str(), 0700);
    mkdir((r + "/inc/include-fixed").c_str(), 0700);
    mkdir((r + "/libs").c_str(), 0700);
    std::fclose(std::fopen((r + "/libs/my.ld").c_str(), "w"));
    std::fclose(std::fopen((r + "/libs/crtx.o").c_str(), "w"));
    add_search_prefix(&include_prefixes, (r + "/inc/").c_str(), nullptr, 1, 0, 0);
    add_search_prefix(&startfile_prefixes, (r + "/libs/").c_str(), nullptr, 1, 0, 0);
    add_search_prefix(&startfile_prefixes, (r + "/missing/").c_str(), nullptr, 1, 0, 0);
    return r;
  }();
  return root;
}

} // namespace

class path_options_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    root = test_root();
  }
  std::string root;
};

TEST_F(path_options_test, LibraryDirectoriesThatExist) {
  EXPECT_EQ(expand("%D"), (words{"-L" + root + "/libs"}));
}

TEST_F(path_options_test, HeaderOptionsInOrder) {
  const char *saved_prefix = install_exec_prefix;
  install_exec_prefix = "/opt/vrk/";
  selected_multilib_dir = "m64";
  words w = expand("%I");
  EXPECT_EQ(w, (words{"-imultilib", "m64", "-iprefix", "/opt/vrk/", "-isystem",
                      root + "/inc/include", "-isystem", root + "/inc/include-fixed"}));
  selected_multilib_dir = nullptr;
  install_exec_prefix = saved_prefix;

  sysroot_dir = "/sys";
  sysroot_overridden = true;
  w = expand("%I");
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[0], "-isysroot");
  EXPECT_EQ(w[1], "/sys");
  sysroot_overridden = false;
}

TEST_F(path_options_test, LibraryAndLinkerScriptLookups) {
  EXPECT_EQ(expand("crtx.o%s nosuch.o%s"), (words{root + "/libs/crtx.o", "nosuch.o"}));
  EXPECT_EQ(expand("%Tmy.ld x"), (words{"--script", root + "/libs/my.ld", "x"}));
  EXPECT_EQ(expand("%Tnone.ld x"), (words{"x"}));
  EXPECT_EQ(new_errors(), 1);
}
