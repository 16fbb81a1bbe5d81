// Tests of decoding single options against the generated table: lookups and
// prefix rewrites, negative forms, joined and separate arguments, aliases,
// ignored and removed options, argument conversion and its errors,
// canonical spellings and original texts.
#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "options/opts-common.h"

namespace {

constexpr unsigned driver_mask = OPTF_DRIVER;
constexpr unsigned all_mask = OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_COMMON | OPTF_TARGET;

struct decode_result {
  decoded_option d;
  unsigned consumed;
};

decode_result decode(std::vector<const char *> words, unsigned mask = driver_mask) {
  words.push_back(nullptr);
  decode_result r{};
  r.consumed = decode_cmdline_option(words.data(), mask, &r.d);
  return r;
}

std::vector<std::string> canonical(const decoded_option &d) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < d.canonical_count; ++i)
    out.push_back(d.canonical[i] ? d.canonical[i] : "(null)");
  return out;
}

using words = std::vector<std::string>;

TEST(decode_option, JoinedAndSeparateArguments) {
  auto o2 = decode({"-O2"});
  EXPECT_EQ(o2.d.opt_index, OPT_O);
  EXPECT_STREQ(o2.d.arg, "2");
  EXPECT_EQ(o2.consumed, 1u);
  EXPECT_EQ(decode({"-Ofast"}).d.opt_index, OPT_Ofast);

  auto o = decode({"-o", "hello", "x.c"});
  EXPECT_EQ(o.d.opt_index, OPT_o);
  EXPECT_STREQ(o.d.arg, "hello");
  EXPECT_EQ(o.consumed, 2u);
  EXPECT_STREQ(o.d.orig_text, "-o hello");
  EXPECT_EQ(canonical(o.d), (words{"-o", "hello"}));
  EXPECT_EQ(o.d.errors, 0u);

  // -x takes its argument joined or separate; both canonicalise to two words.
  auto xc = decode({"-xc"});
  EXPECT_EQ(canonical(xc.d), (words{"-x", "c"}));
  EXPECT_STREQ(xc.d.orig_text, "-xc");
  auto x_c = decode({"-x", "c"});
  EXPECT_EQ(canonical(x_c.d), (words{"-x", "c"}));
  EXPECT_EQ(x_c.consumed, 2u);
}

TEST(decode_option, MissingArgumentsAtTheEnd) {
  auto x = decode({"-x"});
  EXPECT_EQ(x.d.opt_index, OPT_x);
  EXPECT_EQ(x.d.errors & OPTERR_MISSING_ARG, OPTERR_MISSING_ARG);
  EXPECT_EQ(x.consumed, 1u);
  EXPECT_EQ(x.d.arg, nullptr);

  auto o = decode({"-o"});
  EXPECT_EQ(o.d.errors & OPTERR_MISSING_ARG, OPTERR_MISSING_ARG);
  EXPECT_EQ(o.consumed, 1u);

  // A joined-only option with nothing after its text; one that accepts
  // an empty argument takes it.
  auto specs = decode({"-specs="});
  EXPECT_EQ(specs.d.opt_index, OPT_specs_);
  EXPECT_EQ(specs.d.errors & OPTERR_MISSING_ARG, OPTERR_MISSING_ARG);
  auto wl = decode({"-Wl,"});
  EXPECT_EQ(wl.d.opt_index, OPT_Wl_);
  EXPECT_EQ(wl.d.errors, 0u);
  EXPECT_STREQ(wl.d.arg, "");

  // The counted form never reads past its count, even without a null.
  const char *vec[] = {"-o", "not-to-be-read"};
  decoded_option d;
  EXPECT_EQ(decode_cmdline_option_n(vec, 1, driver_mask, &d), 1u);
  EXPECT_EQ(d.errors & OPTERR_MISSING_ARG, OPTERR_MISSING_ARG);
}

TEST(decode_option, EmptySeparateArgumentIsQuotedInOrigText) {
  auto o = decode({"-o", ""});
  EXPECT_STREQ(o.d.arg, "");
  EXPECT_STREQ(o.d.orig_text, "-o \"\"");
  EXPECT_EQ(o.consumed, 2u);
}

TEST(decode_option, NegativeFormsAndCanonicalSpelling) {
  auto wall = decode({"-Wno-all"}, all_mask);
  EXPECT_EQ(wall.d.opt_index, OPT_Wall);
  EXPECT_EQ(wall.d.value, 0);
  EXPECT_EQ(canonical(wall.d), (words{"-Wno-all"}));

  // "-fdump-" rejects the negative form.
  auto dump = decode({"-fno-dump-x"}, all_mask);
  EXPECT_EQ(dump.d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(dump.d.errors, std::uint32_t(OPTERR_NEGATIVE));
  EXPECT_EQ(dump.d.value, 0);
  EXPECT_STREQ(dump.d.arg, "-fno-dump-x");
  EXPECT_EQ(dump.consumed, 1u);

  // The catch-all stops "-gno-foo", and "-g" has no negative form.
  auto gno = decode({"-gno-foo"});
  EXPECT_EQ(gno.d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(gno.d.errors, std::uint32_t(OPTERR_NEGATIVE));
}

TEST(decode_option, LongSpellingsAreRewritten) {
  auto std_eq = decode({"--std=c99"}, all_mask);
  EXPECT_EQ(canonical(std_eq.d), (words{"-std=c99"}));
  auto std_sep = decode({"--std", "c99"}, all_mask);
  EXPECT_EQ(std_sep.consumed, 2u);
  EXPECT_EQ(canonical(std_sep.d), (words{"-std=c99"}));
  EXPECT_STREQ(std_sep.d.orig_text, "--std c99");

  auto opt = decode({"--optimize=2"});
  EXPECT_EQ(opt.d.opt_index, OPT_O);
  EXPECT_STREQ(opt.d.arg, "2");

  // "--debug" itself takes no argument, so "--debug=3" reaches its rewrite.
  auto debug3 = decode({"--debug=3"});
  EXPECT_EQ(debug3.d.opt_index, OPT_g);
  EXPECT_STREQ(debug3.d.arg, "3");
  EXPECT_EQ(canonical(debug3.d), (words{"-g3"}));
  auto debug = decode({"--debug"});
  EXPECT_EQ(debug.d.opt_index, OPT_g);
  EXPECT_STREQ(debug.d.arg, "");

  auto warn = decode({"--warn-no-all"}, all_mask);
  EXPECT_EQ(warn.d.opt_index, OPT_Wall);
  EXPECT_EQ(warn.d.value, 0);

  auto nofoo = decode({"--no-common"}, all_mask);
  EXPECT_EQ(nofoo.d.opt_index, OPT_fcommon);
  EXPECT_EQ(canonical(nofoo.d), (words{"-fno-common"}));

  // Rows that need a remainder do not apply to the bare prefixes.
  EXPECT_EQ(decode({"--"}).d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(decode({"--warn-"}).d.opt_index, OPTION_UNKNOWN);
}

TEST(decode_option, MachineRowsTryTheWholeSecondWordFirst) {
  auto m = decode({"--machine", "no-strict-align"}, all_mask);
  EXPECT_EQ(m.consumed, 2u);
  EXPECT_EQ(m.d.opt_index, OPT_mstrict_align);
  EXPECT_EQ(m.d.value, 0);

  auto cpu = decode({"--machine", "cpu=cortex-a53"}, all_mask);
  EXPECT_EQ(cpu.consumed, 2u);
  EXPECT_EQ(cpu.d.opt_index, OPT_mcpu_);
  EXPECT_STREQ(cpu.d.arg, "cortex-a53");

  auto eq = decode({"--machine=cpu=cortex-a53"}, all_mask);
  EXPECT_EQ(eq.d.opt_index, OPT_mcpu_);
  EXPECT_STREQ(eq.d.arg, "cortex-a53");

  auto none = decode({"--machine", "bogus-option-name"});
  EXPECT_EQ(none.d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(none.consumed, 1u);
  // The two-word rows apply to the bare prefix only.
  auto glued = decode({"--machinebogus", "cpu=cortex-a53"}, all_mask);
  EXPECT_EQ(glued.d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(glued.consumed, 1u);
}

TEST(decode_option, AliasesWithTwoArguments) {
  auto wformat = decode({"-Wformat"}, all_mask);
  EXPECT_EQ(wformat.d.opt_index, OPT_Wformat_);
  EXPECT_STREQ(wformat.d.arg, "1");
  EXPECT_EQ(wformat.d.value, 1);
  auto wnoformat = decode({"-Wno-format"}, all_mask);
  EXPECT_EQ(wnoformat.d.opt_index, OPT_Wformat_);
  EXPECT_STREQ(wnoformat.d.arg, "0");
  EXPECT_EQ(wnoformat.d.value, 0);  // an integer argument gives the value
  EXPECT_EQ(canonical(wnoformat.d), (words{"-Wformat=0"}));  // no "no-" form

  auto color = decode({"-fdiagnostics-color"});
  EXPECT_EQ(color.d.opt_index, OPT_fdiagnostics_color_);
  EXPECT_STREQ(color.d.arg, "always");
  EXPECT_EQ(color.d.value, 1);
  EXPECT_EQ(color.d.errors, 0u);
  auto nocolor = decode({"-fno-diagnostics-color"});
  EXPECT_EQ(nocolor.d.opt_index, OPT_fdiagnostics_color_);
  EXPECT_STREQ(nocolor.d.arg, "never");
  EXPECT_EQ(nocolor.d.value, 0);
  EXPECT_EQ(canonical(nocolor.d), (words{"-fdiagnostics-color=never"}));

  auto larger = decode({"-Wno-larger-than"}, all_mask);
  EXPECT_EQ(larger.d.opt_index, OPT_Wlarger_than_);
  EXPECT_STREQ(larger.d.arg, "18446744073709551615EiB");
  EXPECT_EQ(larger.d.value, -1);  // all ones: the largest size
  EXPECT_EQ(larger.d.errors, 0u);
  auto larger5 = decode({"-Wno-larger-than=5"}, all_mask);
  EXPECT_EQ(larger5.d.opt_index, OPTION_UNKNOWN);
  EXPECT_EQ(larger5.d.errors, std::uint32_t(OPTERR_NEGATIVE));
}

TEST(decode_option, IgnoredRemovedAndWarnedOptions) {
  auto ign = decode({"-fstrength-reduce"});
  EXPECT_EQ(ign.d.opt_index, OPTION_IGNORED);
  EXPECT_EQ(ign.d.canonical_count, 1u);
  EXPECT_EQ(ign.d.canonical[0], nullptr);
  auto rem = decode({"-fmudflap"});
  EXPECT_EQ(rem.d.opt_index, OPTION_REMOVED);
  EXPECT_EQ(rem.d.value, 1);
  auto norem = decode({"-fno-mudflap"});
  EXPECT_EQ(norem.d.opt_index, OPTION_REMOVED);
  EXPECT_EQ(norem.d.value, 0);

  auto warned = decode({"-fhandle-exceptions"}, all_mask);
  ASSERT_NE(warned.d.warning_message, nullptr);
  EXPECT_NE(std::string(warned.d.warning_message).find("renamed"), std::string::npos);
}

TEST(decode_option, WrongLanguageStillProcessesTheArgument) {
  auto wall = decode({"-Wall"});
  EXPECT_EQ(wall.d.opt_index, OPT_Wall);
  EXPECT_EQ(wall.d.errors, std::uint32_t(OPTERR_WRONG_LANG));
  auto march = decode({"-march=ARMv8-A"});
  EXPECT_EQ(march.d.opt_index, OPT_march_);
  EXPECT_STREQ(march.d.arg, "armv8-a");  // lower-cased copy
  EXPECT_EQ(march.d.errors, std::uint32_t(OPTERR_WRONG_LANG));
}

TEST(decode_option, IntegerArgumentsSizeUnitsAndRanges) {
  auto larger = [](const char *word) { return decode({word}, all_mask).d; };
  EXPECT_EQ(larger("-Wlarger-than=16KiB").value, 16384);
  EXPECT_EQ(larger("-Wlarger-than=16kib").value, 16384);
  EXPECT_EQ(larger("-Wlarger-than=16kB").value, 16000);
  EXPECT_EQ(larger("-Wlarger-than=16kb").errors, std::uint32_t(OPTERR_BAD_UINT));
  EXPECT_EQ(larger("-Wlarger-than=0x10").errors, std::uint32_t(OPTERR_BAD_UINT));
  EXPECT_EQ(larger("-Wlarger-than=20EiB").value, -1);  // overflow: largest

  auto dwarf = [](const char *word) { return decode({word}).d; };
  EXPECT_EQ(dwarf("-gdwarf-4").value, 4);
  EXPECT_EQ(dwarf("-gdwarf-0x4").value, 4);  // no units: any base
  EXPECT_EQ(dwarf("-gdwarf-010").value, 10);  // all digits: decimal
  EXPECT_EQ(dwarf("-gdwarf-x").errors & OPTERR_BAD_UINT, std::uint32_t(OPTERR_BAD_UINT));
  EXPECT_EQ(dwarf("-gdwarf--1").errors & OPTERR_BAD_UINT, std::uint32_t(OPTERR_BAD_UINT));

  // An option with a range.
  bool found_range = false;
  for (option_index i = 0; i < option_count && !found_range; ++i) {
    const option_record &r = option_table[i];
    if (r.range_max == -1 || !(r.flags & OPTF_JOINED) || r.range_max == INT32_MAX)
      continue;
    found_range = true;
    std::string over = std::string(r.text) + std::to_string(std::int64_t(r.range_max) + 1);
    std::string in = std::string(r.text) + std::to_string(r.range_max);
    decoded_option d;
    const char *w1[] = {over.c_str(), nullptr};
    decode_cmdline_option(w1, all_mask, &d);
    EXPECT_EQ(d.errors & OPTERR_RANGE, std::uint32_t(OPTERR_RANGE)) << over;
    const char *w2[] = {in.c_str(), nullptr};
    decode_cmdline_option(w2, all_mask, &d);
    EXPECT_EQ(d.errors & OPTERR_RANGE, 0u) << in;
  }
  EXPECT_TRUE(found_range);
}

TEST(parse_integral_argument, ConversionRules) {
  int err = 0;
  EXPECT_EQ(parse_integral_argument("123", &err, false), 123u);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(parse_integral_argument("", &err, false), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument("-1", &err, false), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument(" 1", &err, false), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument("0x10", &err, false), 16u);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(parse_integral_argument("0x10", &err, true), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument("12abc", &err, false), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument("0x1ffffffffffffffffff", &err, false), ~std::uint64_t(0));
  EXPECT_EQ(err, ERANGE);
  EXPECT_EQ(parse_integral_argument("3MB", &err, true), 3000000u);
  EXPECT_EQ(parse_integral_argument("3mb", &err, true), ~std::uint64_t(0));
  EXPECT_EQ(err, EINVAL);
  EXPECT_EQ(parse_integral_argument("2gib", &err, true), std::uint64_t(2) << 30);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(parse_integral_argument("18446744073709551615EiB", &err, true), ~std::uint64_t(0));
  EXPECT_EQ(err, 0);
  EXPECT_EQ(parse_integral_argument("0EiB", &err, true), 0u);
}

TEST(decode_option, EnumeratedArguments) {
  auto always = decode({"-fdiagnostics-color=always"});
  EXPECT_EQ(always.d.value, 1);
  EXPECT_EQ(always.d.errors, 0u);
  auto never = decode({"-fdiagnostics-color=never"});
  EXPECT_EQ(never.d.value, 0);
  auto bad = decode({"-fdiagnostics-color=Never"});
  EXPECT_EQ(bad.d.errors, std::uint32_t(OPTERR_BAD_ENUM));
  auto empty = decode({"-fdiagnostics-color="});
  EXPECT_NE(empty.d.errors & (OPTERR_BAD_ENUM | OPTERR_MISSING_ARG), 0u);
}

TEST(decode_option, SetValuedArguments) {
  auto ok = decode({"-Wbidi-chars=unpaired,ucn"}, all_mask);
  EXPECT_EQ(ok.d.errors, 0u);
  EXPECT_EQ(ok.d.value, 5);
  EXPECT_EQ(ok.d.mask, 7);
  auto same_group = decode({"-Wbidi-chars=any,none"}, all_mask);
  EXPECT_EQ(same_group.d.errors, std::uint32_t(OPTERR_BAD_ENUM_SET));
  auto twice = decode({"-Wbidi-chars=any,any"}, all_mask);
  EXPECT_EQ(twice.d.errors, std::uint32_t(OPTERR_BAD_ENUM_SET));
  auto empty_item = decode({"-Wbidi-chars=,any"}, all_mask);
  EXPECT_EQ(empty_item.d.errors, std::uint32_t(OPTERR_BAD_ENUM_SET));
  auto trailing = decode({"-Wbidi-chars=any,"}, all_mask);
  EXPECT_EQ(trailing.d.errors, std::uint32_t(OPTERR_BAD_ENUM_SET));
  auto unknown = decode({"-Wbidi-chars=bogus"}, all_mask);
  EXPECT_EQ(unknown.d.errors, std::uint32_t(OPTERR_BAD_ENUM_SET));

  auto bits = decode({"-fsanitize-coverage=trace-pc,trace-cmp"}, all_mask);
  EXPECT_EQ(bits.d.errors, 0u);
  EXPECT_EQ(bits.d.value, 3);
  EXPECT_EQ(bits.d.mask, 3);
  // A negative form keeps value 0 so that its mask clears the named bits.
  auto nobits = decode({"-fno-sanitize-coverage=trace-pc"}, all_mask);
  if (nobits.d.opt_index != OPTION_UNKNOWN) {
    EXPECT_EQ(nobits.d.value, 0);
    EXPECT_EQ(nobits.d.mask, 1);
  }
}

TEST(decode_option, BadWordsNeverCrash) {
  std::string longword = "-f" + std::string(100000, 'x');
  std::string longjoined = "-Wl," + std::string(100000, 'y');
  std::string longopt = "--" + std::string(300, 'z');
  const char *bad[] = {"-", "--", "---", "-=", "-\x7f", "--=", "-Wno-", "-fno-", "-mno-", "-gno-",
                       "--machine", "--machine=", "--std", "--param", "--param=",
                       "--param=max-inline-insns-auto", "-std=", "-O", "-x", "-L", "-Wa,",
                       longword.c_str(), longjoined.c_str(), longopt.c_str()};
  for (const char *w : bad) {
    decoded_option d;
    const char *vec[] = {w, nullptr};
    unsigned n = decode_cmdline_option(vec, driver_mask, &d);
    EXPECT_EQ(n, 1u) << w;
    EXPECT_NE(d.orig_text, nullptr);
    EXPECT_GE(d.canonical_count, 1u);
  }
  decoded_option d;
  const char *vec[] = {longjoined.c_str(), nullptr};
  decode_cmdline_option(vec, driver_mask, &d);
  EXPECT_EQ(d.opt_index, OPT_Wl_);
  EXPECT_EQ(std::string(d.arg), std::string(100000, 'y'));
}

TEST(generate_option, BuildsCanonicalAndOrigText) {
  decoded_option d;
  generate_option(OPT_o, "out", 1, driver_mask, &d);
  EXPECT_EQ(d.errors, 0u);
  EXPECT_STREQ(d.orig_text, "-o out");
  EXPECT_EQ(canonical(d), (words{"-o", "out"}));
  generate_option(OPT_Wall, nullptr, 0, driver_mask, &d);
  EXPECT_EQ(d.errors, std::uint32_t(OPTERR_WRONG_LANG));
  EXPECT_STREQ(d.orig_text, "-Wno-all");
  generate_option(OPT_l, "m", 1, driver_mask, &d);
  EXPECT_STREQ(d.orig_text, d.canonical_count == 1 ? "-lm" : "-l m");

  make_input_file_option("x.c", &d);
  EXPECT_EQ(d.opt_index, OPTION_INPUT_FILE);
  EXPECT_STREQ(d.arg, "x.c");
  EXPECT_STREQ(d.orig_text, "x.c");
  EXPECT_EQ(d.canonical_count, 1u);
  EXPECT_EQ(d.value, 1);
}

TEST(option_table_consistency, EveryJoinedEnumRejectsNegation) {
  // Decoding a "no-" form of a single-word enumerated option would have no
  // meaning; the table must reject it so that the decoder never sees one.
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.var_kind == VAR_ENUM && r.var_value == 0 && r.alias_target == option_count)
      EXPECT_TRUE(r.attrs & attr_no_negative) << r.text;
  }
}

}  // namespace
