// Multilib selection with small custom tables (matches, defaults and their
// option groups, exclusions, reuse rules, OS and multiarch directories),
// the -print-multi-lib listing, and the sysroot suffixes.
#include <string>

#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;

namespace {

std::string or_none(const char *text) { return text ? text : "<none>"; }

} // namespace

class multilib_test : public spec_test {
protected:
  std::string listing() {
    return printed([this](std::FILE *f) { print_multilib_listing(comp, f); });
  }

  void tables(const char *multilib, const char *matches, const char *defaults = "",
              const char *exclusions = "") {
    named_specs.multilib_spec = multilib;
    named_specs.multilib_matches_spec = matches;
    named_specs.multilib_defaults_spec = defaults;
    named_specs.multilib_exclusions_spec = exclusions;
  }

  std::string dirs() {
    const multilib_dirs &chosen = comp.search.multilib;
    return or_none(chosen.dir) + " " + or_none(chosen.os_dir) + " " +
           or_none(chosen.multiarch_dir);
  }
};

TEST_F(multilib_test, RemovedSwitchesImplyNothingAndTheCacheIsBuiltOnce) {
  tables(". !mbig-endian;be mbig-endian;", "mbig-endian mbig-endian;");
  add_switch("-mbig-endian");
  sw(0).liveness |= live_removed;
  add_switch("-mlittle-endian");
  select_multilib(comp);
  EXPECT_EQ(dirs(), "<none> <none> <none>");
  add_switch("-mbig-endian");
  EXPECT_FALSE(multilib_option_used(comp, "mbig-endian", 11));
}

TEST_F(multilib_test, SelectionAndListingOverCustomTables) {
  struct {
    const char *multilib, *matches, *defaults, *exclusions, *reuse, *options;
    std::vector<const char *> switches;
    const char *dirs;     // selected, OS and multiarch directory
    const char *listing;  // -print-multi-lib
  } cases[] = {
      {". !mbig-endian;be mbig-endian;", "mbig-endian mbig-endian;", "", "", "", "",
       {"-mbig-endian"}, "be be <none>", ".;\nbe;@mbig-endian\n"},
      // A default option never rules a variant out, and a variant whose
      // only option is a default is not listed.
      {"be mbig-endian;. !mbig-endian;", "mbig-endian mbig-endian;", "mbig-endian", "", "", "",
       {}, "be be <none>", ".;\n"},
      // Defaults count unless an alternative of their option group is used.
      {". !mabi=ilp32;ilp32 mabi=ilp32;", "mabi=ilp32 mabi=ilp32;", "mabi=lp64", "", "",
       "mfoo mabi=lp64/mabi=ilp32", {}, "<none> <none> <none>", nullptr},
      {". !mabi=ilp32;ilp32 mabi=ilp32;", "mabi=ilp32 mabi=ilp32;", "mabi=lp64", "", "",
       "mfoo mabi=lp64/mabi=ilp32", {"-mabi=ilp32"}, "ilp32 ilp32 <none>", nullptr},
      // OS and multiarch directories; ".:DIR" rules are not listed.
      {"m64:../lib64 ;", "", "", "", "", "", {}, "m64 ../lib64 <none>", "m64;\n"},
      {"\n.:../lib64:aarch64-unknown ;", "", "", "", "", "", {}, ". ../lib64 aarch64-unknown", ""},
      {"m64: ;", "", "", "", "", "", {}, "m64 . <none>", nullptr},
      // "." is accepted first; the OS directory still comes from the rule
      // whose options are all given.
      {". ;m32:../lib32 m32;", "m32 m32;", "", "", "", "", {}, "<none> <none> <none>", nullptr},
      {". ;m32:../lib32 m32;", "m32 m32;", "", "", "", "", {"-m32"}, "<none> ../lib32 <none>",
       nullptr},
      // An exclusion that holds stops the selection.
      {"m64:../lib64 ;", "mbig-endian mbig-endian;", "", "mbig-endian;", "", "",
       {"-mbig-endian"}, "<none> <none> <none>", nullptr},
      {"m64:../lib64 ;", "", "", "\n!mbig-endian mx;\n!mbig-endian;", "", "", {},
       "<none> <none> <none>", nullptr},
      // Reuse rules select but are not listed.
      {". !m32 !mx32;m32 m32;", "m32 m32;mx32 mx32;", "", "", "m32 mx32;", "", {"-mx32"},
       "m32 m32 <none>", ".;\nm32;@m32\n"},
  };
  for (const auto &c : cases) {
    comp.switches.clear();
    comp.search.multilib = {};
    comp.multilib = {};
    for (const char *s : c.switches)
      add_switch(s);
    tables(c.multilib, c.matches, c.defaults, c.exclusions);
    named_specs.multilib_reuse_spec = c.reuse;
    named_specs.multilib_options_spec = c.options;
    select_multilib(comp);
    EXPECT_EQ(dirs(), c.dirs) << c.multilib;
    if (c.listing)
      EXPECT_EQ(listing(), c.listing) << c.multilib;
  }
}

TEST_F(multilib_test, ListingSkipsExcludedAndRepeatedPathsAndAddsExtras) {
  tables(". !m32 !mbe;m32 m32 !mbe;m32 m32 mfoo;be mbe;m32be m32 mbe;.::x ;", "", "",
         "m32 mbe;");
  named_specs.multilib_extra_spec = "fPIC  fno-plt";
  EXPECT_EQ(listing(),
            ".;@fPIC@fno-plt\n"
            "m32;@m32@fPIC@fno-plt\n"
            "be;@mbe@fPIC@fno-plt\n"
            ".;@fPIC@fno-plt\n");
}

TEST_F(multilib_test, MalformedTablesAreFatal) {
  tables(". !mbig-endian;be mbig-endian", "mbig-endian mbig-endian;");
  EXPECT_EXIT(select_multilib(comp), ExitedWithCode(1),
              "multilib select .. !mbig-endian;be mbig-endian. .. is invalid");
  EXPECT_EXIT(listing(), ExitedWithCode(1),
              "multilib select .. !mbig-endian;be mbig-endian. is invalid");
  tables("m64", "");
  EXPECT_EXIT(select_multilib(comp), ExitedWithCode(1), "multilib select .m64. .. is invalid");
  EXPECT_EXIT(listing(), ExitedWithCode(1), "multilib select .m64. is invalid");

  tables(". ;", "mbig-endian;");
  EXPECT_EXIT(multilib_option_used(comp, "x", 1), ExitedWithCode(1),
              "multilib spec .mbig-endian;. is invalid");
  tables(". ;", "a b c;");
  EXPECT_EXIT(multilib_option_used(comp, "x", 1), ExitedWithCode(1),
              "multilib spec .a b c;. is invalid");

  tables(". ;", "", "", "mbig-endian");
  EXPECT_EXIT(select_multilib(comp), ExitedWithCode(1),
              "multilib exclusions .mbig-endian. is invalid");
  tables("m64 x;", "", "", "x");
  EXPECT_EXIT(listing(), ExitedWithCode(1), "multilib exclusion .x. is invalid");
}

TEST_F(multilib_test, SysrootSuffixes) {
  const char *saved[] = {named_specs.sysroot_suffix_spec, named_specs.sysroot_hdrs_suffix_spec};
  named_specs.sysroot_suffix_spec = "%{mbig-endian:/be}";
  named_specs.sysroot_hdrs_suffix_spec = "/hdrs%{mbig-endian:-be}";
  install_builtin_specs();
  std::string link_before = *lookup_spec("link")->value_slot;

  settle_sysroot_suffixes(in);
  EXPECT_EQ(or_none(comp.sysroot_suffix) + " " + comp.sysroot_hdrs_suffix, "<none> /hdrs");
  EXPECT_EQ(*lookup_spec("link")->value_slot, link_before);  // no system root

  add_switch("-mbig-endian");
  comp.sysroot_dir = "/sysroot";
  settle_sysroot_suffixes(in);
  EXPECT_EQ(or_none(comp.sysroot_suffix) + " " + comp.sysroot_hdrs_suffix, "/be /hdrs-be");
  EXPECT_EQ(*lookup_spec("link")->value_slot, "%(sysroot_spec) " + link_before);

  comp.sysroot_suffix = comp.sysroot_hdrs_suffix = nullptr;
  comp.options.x_no_sysroot_suffix = 1;
  settle_sysroot_suffixes(in);
  EXPECT_EQ(or_none(comp.sysroot_suffix) + " " + or_none(comp.sysroot_hdrs_suffix),
            "<none> <none>");
  comp.options.x_no_sysroot_suffix = 0;

  named_specs.sysroot_suffix_spec = "/a /b";
  named_specs.sysroot_hdrs_suffix_spec = "/c /d";
  settle_sysroot_suffixes(in);
  EXPECT_EQ(new_errors(), 2);
  EXPECT_EQ(comp.sysroot_suffix, nullptr);
  named_specs.sysroot_suffix_spec = saved[0];
  named_specs.sysroot_hdrs_suffix_spec = saved[1];
}
