// The built-in spec functions, called through spec text (as the specs
// call them) and directly where the exact returned text matters.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "driver/compare-debug.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "spec/multilib.h"
#include "spec/scratch-tree-test-support.h"
#include "spec/spec-function-table.h"
#include "spec/spec-functions.h"
#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;
namespace fs = std::filesystem;

namespace {

const char *call(const char *(*fn)(int, const char **), std::initializer_list<const char *> args) {
  std::vector<const char *> argv(args);
  int argc = static_cast<int>(argv.size());
  argv.push_back(nullptr);
  return fn(argc, argv.data());
}

} // namespace

class spec_functions_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    saved_startfile = startfile_prefixes;
    saved_include = include_prefixes;
    startfile_prefixes = {nullptr, 0, "startfile"};
    include_prefixes = {nullptr, 0, nullptr};
    reset_multilib_selection();
    undefined_env_tolerated = false;
    aux_base = nullptr;
    aux_base_ext = nullptr;
    compare_debug_option = nullptr;
    global_options.x_flag_sanitize = 0;
    global_options.x_flag_sanitize_trap = 0;
  }
  void TearDown() override {
    free_prefix_list(&startfile_prefixes);
    free_prefix_list(&include_prefixes);
    startfile_prefixes = saved_startfile;
    include_prefixes = saved_include;
    release_compare_debug_dumps();
    reset_specs();
    spec_test::TearDown();
  }
  prefix_list saved_startfile{};
  prefix_list saved_include{};
};

TEST_F(spec_functions_test, TableListsEveryFunctionInOrder) {
  const char *names[] = {"getenv", "if-exists", "if-exists-else", "if-exists-then-else",
                         "sanitize", "replace-outfile", "remove-outfile", "version-compare",
                         "include", "find-file", "find-plugindir", "print-asm-header",
                         "compare-debug-dump-opt", "compare-debug-self-opt",
                         "pass-through-libs", "dumps", "gt", "debug-level-gt",
                         "dwarf-version-gt", "fortran-preinclude-file", "local_cpu_detect",
                         "rewrite_mcpu"};
  ASSERT_EQ(spec_function_count, 22);
  for (int i = 0; i < spec_function_count; i++) {
    EXPECT_STREQ(spec_function_table[i].name, names[i]);
    EXPECT_EQ(lookup_spec_function(names[i]), &spec_function_table[i]);
  }
  EXPECT_EQ(spec_function_table[spec_function_count].name, nullptr);
  EXPECT_EQ(lookup_spec_function("if-exist"), nullptr);
  EXPECT_EXIT(expand("%:no-such-function(x)"), ExitedWithCode(1),
              "unknown spec function .no-such-function.");
  EXPECT_EXIT(expand("%:getenv"), ExitedWithCode(1), "no arguments for spec function");
}

TEST_F(spec_functions_test, GetenvEscapesTheValueAndAppendsTheSuffix) {
  setenv("VRK_SPECFN_HOME", "/home/u", 1);
  EXPECT_STREQ(call(getenv_spec_function, {"VRK_SPECFN_HOME", "/x"}),
               "\\/\\h\\o\\m\\e\\/\\u/x");
  EXPECT_EQ(expand("%:getenv(VRK_SPECFN_HOME /x)"), (words{"/home/u/x"}));

  // Blanks, "%" and "|" in the value are data, not spec syntax.
  setenv("VRK_SPECFN_ODD", "a b%c|d", 1);
  EXPECT_EQ(expand("-I%:getenv(VRK_SPECFN_ODD /inc)"), (words{"-Ia b%c|d/inc"}));

  EXPECT_EQ(call(getenv_spec_function, {"VRK_SPECFN_HOME"}), nullptr);
  EXPECT_EQ(call(getenv_spec_function, {"VRK_SPECFN_HOME", "a", "b"}), nullptr);
}

TEST_F(spec_functions_test, GetenvOfUnsetVariable) {
  unsetenv("VRK_SPECFN_UNSET");
  undefined_env_tolerated = true;
  EXPECT_STREQ(call(getenv_spec_function, {"VRK_SPECFN_UNSET", "/x"}), "/VRK_SPECFN_UNSET");
  undefined_env_tolerated = false;
  EXPECT_EXIT(expand("%:getenv(VRK_SPECFN_UNSET /x)"), ExitedWithCode(1),
              "environment variable .VRK_SPECFN_UNSET. not defined");
}

TEST_F(spec_functions_test, IfExistsFamilyNeedsAbsoluteReadablePaths) {
  scratch_tree tree;
  std::string present = tree.file("lib/crt.o");
  std::string absent = tree.root() + "/lib/none.o";
  const char *p = present.c_str(), *a = absent.c_str();

  EXPECT_EQ(call(if_exists_spec_function, {p}), p);
  EXPECT_EQ(call(if_exists_spec_function, {a}), nullptr);
  EXPECT_EQ(call(if_exists_spec_function, {p, p}), nullptr);
  // A relative name is never taken, even when it exists here.
  fs::path cwd = fs::current_path();
  fs::current_path(tree.root() + "/lib");
  EXPECT_EQ(call(if_exists_spec_function, {"crt.o"}), nullptr);
  fs::current_path(cwd);

  EXPECT_EQ(call(if_exists_else_spec_function, {p, "other"}), p);
  EXPECT_STREQ(call(if_exists_else_spec_function, {a, "other"}), "other");
  EXPECT_EQ(call(if_exists_else_spec_function, {p}), nullptr);

  EXPECT_STREQ(call(if_exists_then_else_spec_function, {p, "then"}), "then");
  EXPECT_EQ(call(if_exists_then_else_spec_function, {a, "then"}), nullptr);
  EXPECT_STREQ(call(if_exists_then_else_spec_function, {a, "then", "else"}), "else");
  EXPECT_EQ(call(if_exists_then_else_spec_function, {p}), nullptr);
  EXPECT_EQ(call(if_exists_then_else_spec_function, {p, "1", "2", "3"}), nullptr);

  std::string spec = "%{%:if-exists(" + present + "):found} %:if-exists-else(" + absent +
                     " fallback.o)";
  // A condition's function result is inserted too.
  EXPECT_EQ(expand(spec.c_str()), (words{present, "found", "fallback.o"}));
}

TEST_F(spec_functions_test, SanitizeReadsTheSanitizeAndTrapWords) {
  auto on = [](const char *kind) { return call(sanitize_spec_function, {kind}) != nullptr; };
  global_options.x_flag_sanitize = 0x2;
  EXPECT_TRUE(on("address"));
  EXPECT_FALSE(on("thread"));
  EXPECT_FALSE(on("undefined"));
  EXPECT_FALSE(on("leak"));  // leak checking is part of the address sanitizer here
  EXPECT_EQ(expand("%{%:sanitize(address):-lasan}"), (words{"-lasan"}));

  global_options.x_flag_sanitize = 0x10;
  EXPECT_TRUE(on("leak"));
  global_options.x_flag_sanitize = 0x18;
  EXPECT_FALSE(on("leak"));

  global_options.x_flag_sanitize = 0x20 | 0x40;
  EXPECT_TRUE(on("undefined"));
  global_options.x_flag_sanitize_trap = 0x20 | 0x40;
  EXPECT_FALSE(on("undefined"));  // every undefined check traps: no run-time library

  global_options.x_flag_sanitize = 0x20000000 | 0x40000000 | 0x4;
  EXPECT_TRUE(on("hwaddress"));
  EXPECT_TRUE(on("kernel-hwaddress"));
  EXPECT_TRUE(on("kernel-address"));
  EXPECT_FALSE(on("address"));
  EXPECT_FALSE(on("memory"));
  EXPECT_EQ(call(sanitize_spec_function, {"address", "thread"}), nullptr);
}

TEST_F(spec_functions_test, ReplaceAndRemoveOutfile) {
  output_files = {"a.o", "b.o", nullptr, "a.o"};
  EXPECT_EQ(expand("%:replace-outfile(a.o x.o)%:remove-outfile(b.o)"), (words{}));
  ASSERT_EQ(output_files.size(), 4u);
  EXPECT_STREQ(output_files[0], "x.o");
  EXPECT_EQ(output_files[1], nullptr);
  EXPECT_EQ(output_files[2], nullptr);
  EXPECT_STREQ(output_files[3], "x.o");
  EXPECT_EXIT(expand("%:remove-outfile(a b)"), ExitedWithCode(4), "");
  EXPECT_EXIT(expand("%:replace-outfile(a)"), ExitedWithCode(4), "");
}

TEST_F(spec_functions_test, VersionCompareOneOperand) {
  const char *spec = "%:version-compare(>= 10.3 mfoo= -lbar)";
  EXPECT_EQ(expand(spec), (words{}));  // no switch
  EXPECT_EQ(expand("%:version-compare(!> 10.3 mfoo= -lbar)"), (words{"-lbar"}));
  EXPECT_EQ(expand("%:version-compare(< 10.3 mfoo= -lbar)"), (words{"-lbar"}));
  EXPECT_EQ(expand("%:version-compare(!< 10.3 mfoo= -lbar)"), (words{"-lbar"}));

  add_switch("-mfoo=10.4");
  EXPECT_EQ(expand(spec), (words{"-lbar"}));
  EXPECT_EQ(expand("%:version-compare(< 10.3 mfoo= -lbar)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(!> 10.3 mfoo= -lbar)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(>= 10.4 mfoo= -lbar)"), (words{"-lbar"}));
  EXPECT_EQ(expand("%:version-compare(>= 10.4.0 mfoo= -lbar)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(>= 10.10 mfoo= -lbar)"), (words{}));

  // The last live switch wins.
  add_switch("-mfoo=10.2");
  EXPECT_EQ(expand(spec), (words{}));
}

TEST_F(spec_functions_test, VersionCompareTwoOperands) {
  add_switch("-mfoo=10.5");
  EXPECT_EQ(expand("%:version-compare(>< 10 11 mfoo= in)"), (words{"in"}));
  EXPECT_EQ(expand("%:version-compare(>< 10.6 11 mfoo= in)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(<> 10 11 mfoo= out)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(<> 10 10.5 mfoo= out)"), (words{"out"}));
  EXPECT_EQ(expand("%:version-compare(<> 10.6 11 mfoo= out)"), (words{"out"}));
}

TEST_F(spec_functions_test, VersionCompareWithoutSwitchForTwoOperands) {
  EXPECT_EQ(expand("%:version-compare(>< 10 11 mfoo= in)"), (words{}));
  EXPECT_EQ(expand("%:version-compare(<> 10 11 mfoo= out)"), (words{"out"}));
}

TEST_F(spec_functions_test, VersionCompareRejectsBadInput) {
  EXPECT_EXIT(expand("%:version-compare(>= 1)"), ExitedWithCode(1),
              "too few arguments to %:version-compare");
  EXPECT_EXIT(expand("%:version-compare(>= 1 2 mfoo= r)"), ExitedWithCode(1),
              "too many arguments to %:version-compare");
  EXPECT_EXIT(expand("%:version-compare(>< 1 mfoo= r)"), ExitedWithCode(1),
              "too many arguments to %:version-compare");
  EXPECT_EXIT(expand("%:version-compare(== 1 mfoo= r)"), ExitedWithCode(1),
              "unknown operator .==. in %:version-compare");
  // A second character "<" or ">" asks for two operands.
  EXPECT_EXIT(expand("%:version-compare(=> 1 2 mfoo= r)"), ExitedWithCode(1),
              "unknown operator .=>. in %:version-compare");
  add_switch("-mfoo=10.03");
  EXPECT_EXIT(expand("%:version-compare(>= 10.3 mfoo= -lbar)"), ExitedWithCode(1),
              "invalid version number .10.03.");
  add_switch("-mfoo=10");
  EXPECT_EXIT(expand("%:version-compare(>= 1..2 mfoo= -lbar)"), ExitedWithCode(1),
              "invalid version number .1..2.");
}

TEST_F(spec_functions_test, VersionNumbersOfAnyLength) {
  EXPECT_TRUE(is_version_number("0"));
  EXPECT_TRUE(is_version_number("0.0.10"));
  EXPECT_TRUE(is_version_number("123456789012345678901234567890.1"));
  for (const char *bad : {"", ".", "1.", ".1", "01", "1.02", "1..2", "1.2a", "-1", "1 2", "v1"})
    EXPECT_FALSE(is_version_number(bad)) << bad;

  EXPECT_LT(compare_version_numbers("1.9", "1.10"), 0);
  EXPECT_GT(compare_version_numbers("10", "9.99"), 0);
  EXPECT_LT(compare_version_numbers("1", "1.0"), 0);
  EXPECT_EQ(compare_version_numbers("3.14.159", "3.14.159"), 0);
  // Far beyond any machine integer: compared by magnitude.
  EXPECT_GT(compare_version_numbers("100000000000000000000000000000",
                                    "99999999999999999999999999999"), 0);
  EXPECT_LT(compare_version_numbers("2.99999999999999999999999999998",
                                    "2.99999999999999999999999999999"), 0);
}

TEST_F(spec_functions_test, GreaterThanUsesTheLastTwoArguments) {
  const char *spec = "%{%:gt(%{ftree-parallelize-loops=*:%*} 1): -pthread}";
  EXPECT_EQ(expand(spec), (words{}));  // gt receives only "1"
  add_switch("-ftree-parallelize-loops=1");
  EXPECT_EQ(expand(spec), (words{}));
  add_switch("-ftree-parallelize-loops=4");
  EXPECT_EQ(expand(spec), (words{"-pthread"}));

  EXPECT_STREQ(call(greater_than_spec_function, {"9", "1", "-3", "-4"}), "");
  EXPECT_EQ(call(greater_than_spec_function, {"-4", "-3"}), nullptr);
  EXPECT_EXIT(call(greater_than_spec_function, {}), ExitedWithCode(4), "");
  EXPECT_EXIT(call(greater_than_spec_function, {"many", "1"}), ExitedWithCode(4), "");
}

TEST_F(spec_functions_test, DebugLevelAndDwarfVersion) {
  global_options.x_debug_info_level = 2;
  global_options.x_dwarf_version = 4;
  EXPECT_EQ(expand("%{%:debug-level-gt(1):a} %{%:debug-level-gt(2):b}"), (words{"a"}));
  EXPECT_EQ(expand("%{%:dwarf-version-gt(3):c} %{%:dwarf-version-gt(4):d}"), (words{"c"}));
  global_options.x_debug_info_level = 0;
  EXPECT_EQ(expand("%{%:debug-level-gt(-1):neg}"), (words{"neg"}));

  EXPECT_EXIT(expand("%:debug-level-gt(1 2)"), ExitedWithCode(1),
              "wrong number of arguments to %:debug-level-gt");
  EXPECT_EXIT(expand("%:dwarf-version-gt()"), ExitedWithCode(1),
              "wrong number of arguments to %:dwarf-version-gt");
  EXPECT_EXIT(expand("%:debug-level-gt(two)"), ExitedWithCode(4), "");
}

TEST_F(spec_functions_test, PassThroughLibs) {
  EXPECT_STREQ(call(pass_through_libs_spec_function, {"-lm", "-l", "z", "foo.a", "bar.o", "a"}),
               " -plugin-opt=-pass-through=-lm -plugin-opt=-pass-through=-lz "
               "-plugin-opt=-pass-through=foo.a ");
  EXPECT_STREQ(call(pass_through_libs_spec_function, {}), " ");
  // A final "-l" without a name ends the list.
  EXPECT_STREQ(call(pass_through_libs_spec_function, {"x.a", "-l"}),
               " -plugin-opt=-pass-through=x.a ");
  EXPECT_EQ(expand("%:pass-through-libs(-lc libq.a)"),
            (words{"-plugin-opt=-pass-through=-lc", "-plugin-opt=-pass-through=libq.a"}));
}

TEST_F(spec_functions_test, QuotingForSpecArguments) {
  char *q = quote_spec_argument("a b\tc\nd|e%f\\g");
  EXPECT_STREQ(q, "a\\ b\\\tc\\\nd\\|e\\%f\\\\g");
  std::free(q);
  q = quote_spec_argument("");
  EXPECT_STREQ(q, "%\"");
  std::free(q);
}

TEST_F(spec_functions_test, DumpsFromTheInputName) {
  set_current_input("dir/a.c");
  EXPECT_STREQ(call(dumps_spec_function, {}), " -dumpbase a.c -dumpbase-ext .c");
  aux_dir = "out dir/";
  EXPECT_EQ(expand("%:dumps()"),
            (words{"-dumpdir", "out dir/", "-dumpbase", "a.c", "-dumpbase-ext", ".c"}));
  aux_dir = nullptr;

  // An explicit extension that differs from the input's replaces it.
  set_current_input("pkg/unit.adb");
  EXPECT_STREQ(call(dumps_spec_function, {".ada"}),
               " -dumpbase unit.ada -dumpbase-ext .ada");
  // The second -fcompare-debug compilation adds ".gk".
  compare_debug_mode = -1;
  EXPECT_STREQ(call(dumps_spec_function, {}), " -dumpbase unit.gk.adb -dumpbase-ext .adb");
  compare_debug_mode = 0;

  set_current_input("noext");
  EXPECT_EQ(expand("%:dumps()"), (words{"-dumpbase", "noext"}));
  EXPECT_EXIT(expand("%:dumps(a b)"), ExitedWithCode(1), "too many arguments for %:dumps");
}

TEST_F(spec_functions_test, DumpsFromDumpbaseAndOutputStem) {
  set_current_input("a.c");
  aux_base = "foo.c";
  aux_base_ext = ".c";
  output_stem = "foo";
  output_stem_length = 3;
  EXPECT_STREQ(call(dumps_spec_function, {}), " -dumpbase foo.c -dumpbase-ext .c");
  compare_debug_mode = -1;
  EXPECT_STREQ(call(dumps_spec_function, {}), " -dumpbase foo.gk.c -dumpbase-ext .c");
  compare_debug_mode = 0;

  // -dumpbase without an extension: the base is taken whole.
  aux_base = "x.y";
  aux_base_ext = nullptr;
  output_stem = "x.y";
  output_stem_length = 3;
  EXPECT_STREQ(call(dumps_spec_function, {".ignored"}), " -dumpbase x.y");

  // Only an output stem (from -o): the extension is the input's.
  aux_base = nullptr;
  output_stem = "bin/prog";
  output_stem_length = 8;
  EXPECT_STREQ(call(dumps_spec_function, {}), " -dumpbase bin/prog.c -dumpbase-ext .c");
}

TEST_F(spec_functions_test, FileLookupsAlongStartfilePrefixes) {
  scratch_tree tree;
  std::string lib = tree.dir("lib");
  std::string crt = tree.file("lib/crtx.o");
  tree.dir("lib/plugin");
  add_search_prefix(&startfile_prefixes, lib.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);

  EXPECT_STREQ(call(find_file_spec_function, {"crtx.o"}), crt.c_str());
  EXPECT_STREQ(call(find_file_spec_function, {"none.o"}), "none.o");
  EXPECT_STREQ(call(find_file_spec_function, {crt.c_str()}), crt.c_str());
  std::string missing = lib + "none.o";
  EXPECT_STREQ(call(find_file_spec_function, {missing.c_str()}), missing.c_str());
  EXPECT_EQ(expand("%:find-plugindir()"), (words{"-iplugindir=" + lib + "plugin"}));
  EXPECT_EXIT(expand("%:find-file()"), ExitedWithCode(4), "");

  free_prefix_list(&startfile_prefixes);
  EXPECT_EQ(expand("%:find-plugindir()"), (words{"-iplugindir=plugin"}));
}

TEST_F(spec_functions_test, IncludeReadsASpecsFileFoundAlongThePrefixes) {
  scratch_tree tree;
  std::string lib = tree.dir("lib");
  tree.file("lib/extra.specs", "*specfn_included:\n-DINCLUDED\n");
  add_search_prefix(&startfile_prefixes, lib.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);

  EXPECT_EQ(expand("%:include(extra.specs)"), (words{}));
  named_spec *sl = lookup_spec("specfn_included");
  ASSERT_NE(sl, nullptr);
  EXPECT_STREQ(*sl->value_slot, "-DINCLUDED");
  EXPECT_FALSE(sl->user_set);
  EXPECT_EQ(expand("%(specfn_included)"), (words{"-DINCLUDED"}));
  EXPECT_EXIT(expand("%:include(absent.specs)"), ExitedWithCode(1),
              "cannot read spec file .absent.specs.: No such file or directory");
}

TEST_F(spec_functions_test, FortranPreincludeFile) {
  scratch_tree tree;
  std::string dir = tree.dir("finclude");
  std::string header = tree.file("finclude/omp_lib.h");
  std::string spec = "%:fortran-preinclude-file(-fpre-include= omp_lib.h " + dir + ")";
  EXPECT_EQ(expand(spec.c_str()), (words{"-fpre-include=" + header}));
  spec = "%:fortran-preinclude-file(-fpre-include= math.h " + dir + ")";
  EXPECT_EQ(expand(spec.c_str()), (words{}));
  EXPECT_EQ(call(fortran_preinclude_file_spec_function, {"-f", "omp_lib.h"}), nullptr);

  // The include prefixes come first.
  std::string first = tree.dir("first");
  std::string earlier = tree.file("first/omp_lib.h");
  add_search_prefix(&include_prefixes, first.c_str(), nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  spec = "%:fortran-preinclude-file(-fpre-include= omp_lib.h " + dir + ")";
  EXPECT_EQ(expand(spec.c_str()), (words{"-fpre-include=" + earlier}));
}

TEST_F(spec_functions_test, PrintAsmHeader) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(expand("%:print-asm-header()"), (words{}));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Assembler options\n=================\n\n"
            "Use \"-Wa,OPTION\" to pass \"OPTION\" to the assembler.\n\n");
}

TEST_F(spec_functions_test, CompareDebugDumpOptionAndSeed) {
  const char *spec = "%:compare-debug-dump-opt()";
  EXPECT_EQ(expand(spec), (words{}));  // -fcompare-debug not in use
  EXPECT_EQ(compare_debug_dumps[0], nullptr);

  // First compilation: the named dump, and a fresh seed.
  add_switch("-fdump-final-insns=out.gkd");
  compare_debug_mode = 1;
  words first = expand(spec);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].rfind("-frandom-seed=0x", 0), 0u) << first[0];
  EXPECT_STREQ(compare_debug_dumps[0], "out.gkd");

  // Second compilation: the same seed, the second dump name.
  compare_debug_mode = -1;
  EXPECT_EQ(expand(spec), first);
  EXPECT_STREQ(compare_debug_dumps[1], "out.gkd");
  // The seed was used by the second pass and is gone.
  EXPECT_EQ(expand(spec), (words{}));

  // An explicit seed suppresses the generated one.
  add_switch("-frandom-seed=7");
  compare_debug_mode = 1;
  EXPECT_EQ(expand(spec), (words{}));
  compare_debug_mode = -1;
  EXPECT_EQ(expand(spec), (words{}));
}

TEST_F(spec_functions_test, CompareDebugDumpNameMadeByTheDriver) {
  const char *spec = "%:compare-debug-dump-opt()";
  // "-fdump-final-insns=." names the dump after the input.
  // Outside -fcompare-debug it still gets a seed.
  add_switch("-fdump-final-insns=.");
  words named = expand(spec);
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[0].rfind("-frandom-seed=0x", 0), 0u);
  EXPECT_EQ(named[1], "-fdump-final-insns=foo.c.gkd");
  EXPECT_STREQ(compare_debug_dumps[0], "foo.c.gkd");
  release_compare_debug_dumps();

  // No dump option under -fcompare-debug: a temporary name.
  saved_switch_count = 0;
  terminate_switches_and_inputs();
  compare_debug_mode = 1;
  words w = expand(spec);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].rfind("-frandom-seed=0x", 0), 0u);
  ASSERT_NE(compare_debug_dumps[0], nullptr);
  EXPECT_EQ(w[1], std::string("-fdump-final-insns=") + compare_debug_dumps[0]);
  EXPECT_EQ(w[1].substr(w[1].size() - 4), ".gkd");
  EXPECT_EXIT(expand("%:compare-debug-dump-opt(x)"), ExitedWithCode(1),
              "too many arguments to %:compare-debug-dump-opt");
}

TEST_F(spec_functions_test, CompareDebugSelfOption) {
  EXPECT_EQ(expand("%:compare-debug-self-opt()"), (words{}));
  add_switch("-o", "x.o");
  add_switch("-MD");
  compare_debug_mode = -1;
  compare_debug_option = "-gtoggle";
  EXPECT_EQ(expand("%:compare-debug-self-opt()"),
            (words{"-w", "-S", "-o", "/dev/null", "-fcompare-debug-second", "-gtoggle"}));
  EXPECT_TRUE(sw(0).liveness & live_removed);
  EXPECT_TRUE(sw(1).liveness & live_removed);
  EXPECT_EXIT(expand("%:compare-debug-self-opt(x)"), ExitedWithCode(1),
              "too many arguments to %:compare-debug-self-opt");
}
