// The built-in spec functions, called through spec text (as the specs
// call them) and directly where the exact returned text matters.  Their
// ordinary use from a specs file is a driver test; these are the edges.
#include <cstdlib>
#include <cstring>
#include <string>

#include "spec/spec-functions.h"
#include "spec/spec-test-support.h"
#include "support/scratch-dir-test-support.h"

using ::testing::ExitedWithCode;

class spec_functions_test : public spec_test {
protected:
  using spec_function_fn = const char *(*)(spec_interpreter &, int, const char **);
  const char *call(spec_function_fn fn, std::vector<const char *> argv) {
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    return fn(in, argc, argv.data());
  }
};

TEST_F(spec_functions_test, GetenvQuotingAndPassThroughLibs) {
  EXPECT_EQ(call(getenv_spec_function, {"PATH"}), nullptr);
  unsetenv("VRK_SPECFN_UNSET");
  comp.undefined_env_tolerated = true;
  EXPECT_STREQ(call(getenv_spec_function, {"VRK_SPECFN_UNSET", "/x"}), "/VRK_SPECFN_UNSET");

  for (auto [text, quoted] : {std::pair{"a b\tc\nd|e%f\\g", "a\\ b\\\tc\\\nd\\|e\\%f\\\\g"},
                              std::pair{"", "%\""}}) {
    char *q = quote_spec_argument(text);
    EXPECT_STREQ(q, quoted);
    std::free(q);
  }

  EXPECT_STREQ(call(pass_through_libs_spec_function, {}), " ");
  // A final "-l" without a name ends the list; "a" is too short for ".a".
  EXPECT_STREQ(call(pass_through_libs_spec_function, {"x.a", "a", "-l"}),
               " -plugin-opt=-pass-through=x.a ");
}

TEST_F(spec_functions_test, SanitizeReadsTheSanitizeAndTrapWords) {
  struct {
    unsigned sanitize, trap;
    const char *kind;
    bool on;
  } cases[] = {
      {0x4, 0, "address", false}, {0x4, 0, "kernel-address", true}, {0x2, 0, "memory", false},
      // Leak checking is part of the address sanitizer here.
      {0x2, 0, "leak", false}, {0x10, 0, "leak", true}, {0x18, 0, "leak", false},
      // Every undefined-behaviour check traps: no run-time library.
      {0x60, 0, "undefined", true}, {0x60, 0x60, "undefined", false},
  };
  for (const auto &c : cases) {
    comp.options.x_flag_sanitize = c.sanitize;
    comp.options.x_flag_sanitize_trap = c.trap;
    EXPECT_EQ(call(sanitize_spec_function, {c.kind}) != nullptr, c.on)
        << c.kind << " " << c.sanitize;
  }
  EXPECT_EQ(call(sanitize_spec_function, {"address", "thread"}), nullptr);
}

TEST_F(spec_functions_test, VersionCompare) {
  // Switch value (null: no -mfoo=), operator and bounds, and the result.
  // The driver tests cover >=, !>, >< and <> with and without a switch.
  struct {
    const char *value;
    const char *args;
    bool yields;
  } cases[] = {
      {nullptr, "< 10.3", true},    {nullptr, "!< 10.3", true},   {"10.4", ">= 10.4", true},
      {"10.4", ">= 10.4.0", false}, {"10.4", ">= 10.10", false},  {"10.4", "< 10.3", false},
      {"10.4", "!< 10.4", true},    {"10.5", ">< 10.6 11", false}, {"10.5", "<> 10 10.5", true},
  };
  for (const auto &c : cases) {
    comp.switches.clear();
    if (c.value)
      add_switch((std::string("-mfoo=") + c.value).c_str());
    std::string spec = std::string("%:version-compare(") + c.args + " mfoo= -r)";
    EXPECT_EQ(expand(spec.c_str()), c.yields ? words{"-r"} : words{})
        << (c.value ? c.value : "-") << " " << c.args;
  }
  // The last live switch wins.
  add_switch("-mfoo=9");
  EXPECT_EQ(expand("%:version-compare(>= 10.3 mfoo= -r)"), (words{}));

  EXPECT_EXIT(expand("%:version-compare(>= 1)"), ExitedWithCode(1),
              "too few arguments to %:version-compare");
  // A second character "<" or ">" asks for two operands.
  EXPECT_EXIT(expand("%:version-compare(=> 1 2 mfoo= r)"), ExitedWithCode(1),
              "unknown operator .=>. in %:version-compare");

  EXPECT_TRUE(is_version_number("0.0.10"));
  EXPECT_TRUE(is_version_number("123456789012345678901234567890.1"));
  for (const char *bad : {"", ".", "1.", ".1", "01", "1.02", "1..2", "1.2a", "-1", "1 2", "v1"})
    EXPECT_FALSE(is_version_number(bad)) << bad;
  EXPECT_GT(compare_version_numbers("10", "9.99"), 0);
  EXPECT_EQ(compare_version_numbers("3.14.159", "3.14.159"), 0);
  // Far beyond any machine integer: compared by magnitude.
  EXPECT_GT(compare_version_numbers("100000000000000000000000000000",
                                    "99999999999999999999999999999"), 0);
  EXPECT_LT(compare_version_numbers("2.99999999999999999999999999998",
                                    "2.99999999999999999999999999999"), 0);
}

TEST_F(spec_functions_test, NumericComparisons) {
  EXPECT_STREQ(call(greater_than_spec_function, {"9", "1", "-3", "-4"}), "");
  EXPECT_EQ(call(greater_than_spec_function, {"-4", "-3"}), nullptr);
  EXPECT_EQ(call(greater_than_spec_function, {"5"}), nullptr);  // optional operand missing
  // An operand without any digit is an internal error, not zero.
  EXPECT_EXIT(call(greater_than_spec_function, {"many", "1"}), ExitedWithCode(4), "");

  comp.options.x_debug_info_level = 2;
  comp.options.x_dwarf_version = 4;
  EXPECT_EQ(expand("%{%:debug-level-gt(1):a} %{%:debug-level-gt(2):b}"), (words{"a"}));
  EXPECT_EQ(expand("%{%:dwarf-version-gt(3):c} %{%:dwarf-version-gt(4):d}"), (words{"c"}));
  comp.options.x_debug_info_level = 0;
  EXPECT_EQ(expand("%{%:debug-level-gt(-1):neg}"), (words{"neg"}));
  EXPECT_EXIT(expand("%:debug-level-gt(1 2)"), ExitedWithCode(1),
              "wrong number of arguments to %:debug-level-gt");
  EXPECT_EXIT(expand("%:dwarf-version-gt()"), ExitedWithCode(1),
              "wrong number of arguments to %:dwarf-version-gt");
}

TEST_F(spec_functions_test, DumpsOptions) {
  struct {
    const char *input, *dir, *base, *base_ext, *stem;
    int compare_debug;
    std::vector<const char *> args;
    const char *expected;
  } cases[] = {
      {"dir/a.c", "out dir/", nullptr, nullptr, nullptr, 0, {},
       " -dumpdir out\\ dir/ -dumpbase a.c -dumpbase-ext .c"},
      {"noext", nullptr, nullptr, nullptr, nullptr, 0, {}, " -dumpbase noext"},
      // An explicit extension that differs from the input's replaces it;
      // the second -fcompare-debug compilation adds ".gk".
      {"pkg/unit.adb", nullptr, nullptr, nullptr, nullptr, 0, {".ada"},
       " -dumpbase unit.ada -dumpbase-ext .ada"},
      {"pkg/unit.adb", nullptr, nullptr, nullptr, nullptr, -1, {},
       " -dumpbase unit.gk.adb -dumpbase-ext .adb"},
      // From -dumpbase and -dumpbase-ext.
      {"a.c", nullptr, "foo.c", ".c", "foo", -1, {}, " -dumpbase foo.gk.c -dumpbase-ext .c"},
      // -dumpbase without an extension: the base is taken whole.
      {"a.c", nullptr, "x.y", nullptr, "x.y", 0, {".ignored"}, " -dumpbase x.y"},
  };
  for (const auto &c : cases) {
    in.set_current_input(c.input);
    comp.aux_dir = c.dir;
    comp.aux_base = c.base;
    comp.aux_base_ext = c.base_ext;
    comp.output_stem = c.stem;
    comp.output_stem_length = c.stem ? static_cast<int>(std::strlen(c.stem)) : 0;
    comp.compare_debug.mode = c.compare_debug;
    EXPECT_STREQ(call(dumps_spec_function, c.args), c.expected) << c.input;
  }
  EXPECT_EXIT(expand("%:dumps(a b)"), ExitedWithCode(1), "too many arguments for %:dumps");
}

TEST_F(spec_functions_test, LookupsAlongThePrefixes) {
  scratch_dir tree;
  std::string lib = tree.dir("lib") + "/";
  tree.dir("lib/plugin");
  tree.file("lib/extra.specs", "*specfn_included:\n-DINCLUDED\n");
  EXPECT_EQ(expand("%:find-plugindir()"), (words{"-iplugindir=plugin"}));
  search_paths &search = comp.search;
  search.add_search_prefix(search.startfile_prefixes, lib.c_str(), nullptr, PREFIX_PRIORITY_LAST,
                           0, 0);
  EXPECT_EQ(expand("%:find-plugindir()"), (words{"-iplugindir=" + lib + "plugin"}));

  // Specs read by a spec are not user specs: they claim only known switches.
  EXPECT_EQ(expand("%:include(extra.specs)"), (words{}));
  named_spec *sl = lookup_spec("specfn_included");
  ASSERT_NE(sl, nullptr);
  EXPECT_FALSE(sl->user_set);

  std::string dir = tree.dir("finclude") + "/";
  std::string header = tree.file("finclude/omp_lib.h");
  std::string spec = "%:fortran-preinclude-file(-fpre-include= omp_lib.h " + dir + ")";
  EXPECT_EQ(expand(spec.c_str()), (words{"-fpre-include=" + header}));
  std::string other = "%:fortran-preinclude-file(-fpre-include= math.h " + dir + ")";
  EXPECT_EQ(expand(other.c_str()), (words{}));
  EXPECT_EQ(call(fortran_preinclude_file_spec_function, {"-f", "omp_lib.h"}), nullptr);
  // The include prefixes come first.
  std::string earlier = tree.file("first/omp_lib.h");
  search.add_search_prefix(search.include_prefixes, tree.path("first/").c_str(), nullptr,
                           PREFIX_PRIORITY_LAST, 0, 0);
  EXPECT_EQ(expand(spec.c_str()), (words{"-fpre-include=" + earlier}));
}

TEST_F(spec_functions_test, CompareDebugDumpOptionAndSeed) {
  const char *spec = "%:compare-debug-dump-opt()";
  EXPECT_EQ(expand(spec), (words{}));  // -fcompare-debug not in use
  compare_debug_state &cd = comp.compare_debug;
  EXPECT_EQ(cd.dumps[0], nullptr);

  // A named dump: only the seed is added, and the second compilation
  // uses it up.
  add_switch("-fdump-final-insns=out.gkd");
  cd.mode = 1;
  words first = expand(spec);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].rfind("-frandom-seed=0x", 0), 0u) << first[0];
  EXPECT_STREQ(cd.dumps[0], "out.gkd");
  cd.mode = -1;
  EXPECT_EQ(expand(spec), first);
  EXPECT_STREQ(cd.dumps[1], "out.gkd");
  EXPECT_EQ(expand(spec), (words{}));

  // "-fdump-final-insns=." names the dump after the input, and outside
  // -fcompare-debug it still gets a seed.
  comp.switches.clear();
  add_switch("-fdump-final-insns=.");
  cd.mode = 0;
  words named = expand(spec);
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[0].rfind("-frandom-seed=0x", 0), 0u);
  EXPECT_EQ(named[1], "-fdump-final-insns=foo.c.gkd");

  // The second compilation's self spec only exists in that compilation.
  EXPECT_EQ(expand("%:compare-debug-self-opt()"), (words{}));
  EXPECT_EXIT(expand("%:compare-debug-dump-opt(x)"), ExitedWithCode(1),
              "too many arguments to %:compare-debug-dump-opt");
  EXPECT_EXIT(expand("%:compare-debug-self-opt(x)"), ExitedWithCode(1),
              "too many arguments to %:compare-debug-self-opt");
}
