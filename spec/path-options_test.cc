// Header options (%I) and file lookups of finished arguments (%s, %T)
// over real directories made for the test.
#include <string>

#include "spec/spec-test-support.h"
#include "support/scratch-dir-test-support.h"

class path_options_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    tree.dir("inc/include");
    tree.dir("inc/include-fixed");
    tree.file("libs/my.ld");
    tree.file("libs/crtx.o");
    search_paths &search = comp.search;
    search.add_search_prefix(search.include_prefixes, tree.path("inc/").c_str(), nullptr, 1, 0, 0);
    search.add_search_prefix(search.startfile_prefixes, tree.path("libs/").c_str(), nullptr, 1, 0,
                             0);
  }
  scratch_dir tree;
};

TEST_F(path_options_test, HeaderOptionsInOrder) {
  comp.install_exec_prefix = "/opt/vrk/";
  comp.search.multilib.dir = "m64";
  EXPECT_EQ(expand("%I"), (words{"-imultilib", "m64", "-iprefix", "/opt/vrk/", "-isystem",
                                 tree.path("inc/include"), "-isystem",
                                 tree.path("inc/include-fixed")}));
  comp.search.multilib.dir = nullptr;
  comp.install_exec_prefix = nullptr;

  comp.sysroot_dir = "/sys";
  comp.sysroot_overridden = true;
  words w = expand("%I");
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[0] + " " + w[1], "-isysroot /sys");
}

TEST_F(path_options_test, LibraryAndLinkerScriptLookups) {
  EXPECT_EQ(expand("crtx.o%s nosuch.o%s"), (words{tree.path("libs/crtx.o"), "nosuch.o"}));
  EXPECT_EQ(expand("%Tmy.ld x"), (words{"--script", tree.path("libs/my.ld"), "x"}));
  EXPECT_EQ(expand("%Tnone.ld x"), (words{"x"}));
  EXPECT_EQ(new_errors(), 1);
}
