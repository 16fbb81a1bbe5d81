// Tests of the generated option table: lookups against the real table, the
// invariants the decoder relies on, and the generator's refusal of bad
// option sources.
#include "options/option-table.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "options/optgen-path.inc"

namespace {

option_index lookup(const char *word, unsigned mask = OPTF_DRIVER) {
  return find_option(word + 1, mask);  // the word without its leading '-'
}

const char *text_of(option_index i) {
  return i < option_count ? option_table[i].text : "(special)";
}

option_index index_of(const char *text) {
  for (option_index i = 0; i < option_count; ++i)
    if (std::strcmp(option_table[i].text, text) == 0) return i;
  return OPTION_UNKNOWN;
}

// ---------------------------------------------------------------------------
// find_option

TEST(FindOption, ExactAndJoinedMatches) {
  EXPECT_STREQ(text_of(lookup("-o")), "-o");
  EXPECT_EQ(lookup("-o"), option_index(OPT_o));
  // A joined option matches with and without its argument.
  EXPECT_EQ(lookup("-O2", OPTF_COMMON), option_index(OPT_O));
  EXPECT_EQ(lookup("-Wl,", OPTF_DRIVER), option_index(OPT_Wl_));
  EXPECT_EQ(lookup("-Wl,-rpath,/x"), option_index(OPT_Wl_));
  EXPECT_EQ(lookup("-lm"), option_index(OPT_l));
  // A longer exact record wins over the joined prefix.
  EXPECT_EQ(lookup("-Ofast", OPTF_COMMON), option_index(OPT_Ofast));
  EXPECT_EQ(lookup("-Og", OPTF_COMMON), index_of("-Og"));
  EXPECT_EQ(lookup("-Tbss=0x1000"), index_of("-Tbss="));
  EXPECT_EQ(lookup("-Tfoo.ld"), index_of("-T"));
  // A separate-only option does not match a longer word.
  EXPECT_EQ(lookup("-Xlinkerfoo"), OPTION_UNKNOWN);
}

TEST(FindOption, WrongLanguageMatchIsReturned) {
  // -Wall is no driver option: the index comes back, flags do not match.
  option_index i = lookup("-Wall");
  ASSERT_EQ(i, option_index(OPT_Wall));
  EXPECT_EQ(option_table[i].flags & OPTF_DRIVER, 0u);
  // The first (longest) wrong-language match is kept, not a shorter one.
  EXPECT_EQ(lookup("-Wformat=2"), option_index(OPT_Wformat_));
  EXPECT_EQ(lookup("-march=armv8-a"), index_of("-march="));
}

TEST(FindOption, GnoCatchAllStopsTheLookup) {
  EXPECT_EQ(lookup("-gno-foo"), OPTION_UNKNOWN);
  EXPECT_EQ(lookup("-gno-foo", OPTF_COMMON), OPTION_UNKNOWN);
  EXPECT_EQ(lookup("-gno-record-vrk-switches", OPTF_COMMON), OPTION_UNKNOWN);
  // Real records beyond the catch-all are still found.
  EXPECT_EQ(lookup("-gno-pubnames"), index_of("-gno-pubnames"));
  EXPECT_EQ(lookup("-gfoo"), option_index(OPT_g));
  EXPECT_EQ(lookup("-g3"), option_index(OPT_g));
  EXPECT_EQ(lookup("-gdwarf-4"), option_index(OPT_gdwarf_));
  EXPECT_EQ(lookup("-gdwarf4"), option_index(OPT_gdwarf));
}

TEST(FindOption, LongOptionAbbreviations) {
  EXPECT_EQ(lookup("--he"), option_index(OPT__help));
  EXPECT_EQ(lookup("--hel"), option_index(OPT__help));
  EXPECT_EQ(lookup("--help"), option_index(OPT__help));
  EXPECT_EQ(lookup("--verb"), index_of("--verbose"));
  EXPECT_EQ(lookup("--sys"), index_of("--sysroot"));
  EXPECT_EQ(lookup("--comp"), OPTION_UNKNOWN);  // --compile, --completion=
  // --help=x is an ordinary joined match.
  EXPECT_EQ(lookup("--help=x"), option_index(OPT__help_));
  EXPECT_EQ(lookup("--sysroot=/x"), option_index(OPT__sysroot_));
  // Abbreviation applies only to words that began with "--".
  EXPECT_EQ(lookup("-pass-exit"), OPTION_UNKNOWN);
  EXPECT_EQ(lookup("--zzz"), OPTION_UNKNOWN);
}

TEST(FindOption, ParamsNeedTheirTrailingEquals) {
  EXPECT_EQ(lookup("--param=max-inline-insns-auto", OPTF_COMMON),
            OPTION_UNKNOWN);
  option_index p = lookup("--param=max-inline-insns-auto=30", OPTF_COMMON);
  EXPECT_EQ(p, option_index(OPT__param_max_inline_insns_auto_));
  EXPECT_TRUE(option_table[p].flags & OPTF_PARAMS);
  EXPECT_NE(option_table[p].range_max, -1);
}

TEST(FindOption, EveryRecordFindsItself) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    SCOPED_TRACE(r.text);
    unsigned classes = r.flags & (OPTL_ALL_LANGUAGES | OPTF_PARAMS |
                                  OPTF_WARNING | OPTF_OPTIMIZATION |
                                  OPTF_TARGET | OPTF_COMMON);
    option_index got = find_option(r.text + 1, classes | OPTF_DRIVER);
    // Only the catch-all may answer "unknown" for its own text.
    if (std::strcmp(r.text, "-gno-") == 0)
      EXPECT_EQ(got, OPTION_UNKNOWN);
    else
      EXPECT_EQ(got, i);
  }
}

// ---------------------------------------------------------------------------
// Table invariants

TEST(TableInvariants, SortedBytewiseAndLengths) {
  ASSERT_GE(option_count, 1500u);
  EXPECT_STREQ(option_table[0].text, "-###");
  EXPECT_STREQ(option_table[1].text, "--all-warnings");
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    EXPECT_EQ(r.text[0], '-') << r.text;
    EXPECT_EQ(r.text_len, std::strlen(r.text) - 1) << r.text;
    if (i > 0) EXPECT_LT(std::strcmp(option_table[i - 1].text, r.text), 0)
                   << option_table[i - 1].text << " / " << r.text;
  }
}

TEST(TableInvariants, BackChainsAreTheNearestJoinedPrefix) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    option_index want = option_count;
    for (option_index j = i; j-- > 0;) {
      const option_record &p = option_table[j];
      if ((p.flags & OPTF_JOINED) && p.text_len < r.text_len &&
          std::strncmp(p.text, r.text, p.text_len + 1) == 0) {
        want = j;
        break;
      }
    }
    EXPECT_EQ(r.back_chain, want) << r.text;
  }
  EXPECT_EQ(option_table[OPT_Ofast].back_chain, option_index(OPT_O));
  EXPECT_EQ(option_table[index_of("-Tbss=")].back_chain, index_of("-T"));
}

TEST(TableInvariants, NegativeRingsClose) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.neg_index < 0 || option_index(r.neg_index) == i) continue;
    // Following the ring must come back to where it entered.
    std::set<option_index> seen;
    option_index k = r.neg_index;
    while (seen.insert(k).second) {
      ASSERT_LT(k, option_count) << r.text;
      ASSERT_GE(option_table[k].neg_index, 0) << option_table[k].text;
      k = option_table[k].neg_index;
    }
  }
  auto ring = [](std::vector<const char *> members) {
    for (size_t m = 0; m < members.size(); ++m) {
      option_index i = index_of(members[m]);
      ASSERT_NE(i, OPTION_UNKNOWN) << members[m];
      EXPECT_STREQ(option_table[option_table[i].neg_index].text,
                   members[(m + 1) % members.size()]);
    }
  };
  ring({"-fPIC", "-fPIE", "-fpic", "-fpie"});
  ring({"-Qn", "-Qy"});
  ring({"-cpp", "-nocpp"});
  ring({"-fuse-ld=tradl", "-fuse-ld=quikl"});
  ring({"-gzux-pubnames", "-gno-pubnames", "-gpubnames"});
  ring({"-no-pie", "-shared", "-static-pie", "-pie"});
  EXPECT_STREQ(option_table[option_table[index_of("-cpp=")].neg_index].text,
               "-nocpp");
  EXPECT_EQ(option_table[OPT_Wall].neg_index, int(OPT_Wall));
  EXPECT_EQ(option_table[OPT_o].neg_index, -1);
}

TEST(TableInvariants, AliasTargets) {
  unsigned ignored = 0, removed = 0;
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.alias_target == OPTION_IGNORED) {
      ++ignored;
      EXPECT_FALSE(r.alias_arg || r.neg_alias_arg) << r.text;
    } else if (r.alias_target == OPTION_REMOVED) {
      ++removed;
      EXPECT_FALSE(r.alias_arg || r.neg_alias_arg) << r.text;
    } else if (r.alias_target != option_count) {
      ASSERT_LT(r.alias_target, option_count) << r.text;
      const option_record &t = option_table[r.alias_target];
      EXPECT_TRUE(t.alias_target == option_count ||
                  (t.attrs & attr_alias_if_separate))
          << r.text << " -> " << t.text;
      if (r.neg_alias_arg) EXPECT_TRUE(r.alias_arg) << r.text;
    } else {
      EXPECT_FALSE(r.alias_arg || r.neg_alias_arg) << r.text;
    }
  }
  EXPECT_EQ(ignored, 45u);
  EXPECT_EQ(removed, 56u);
  EXPECT_EQ(option_table[index_of("-fzee")].alias_target, OPTION_IGNORED);
  EXPECT_EQ(option_table[index_of("-gstabs+")].alias_target, OPTION_REMOVED);

  struct {
    const char *alias, *target, *arg, *neg_arg;
  } cases[] = {
      {"--all-warnings", "-Wall", nullptr, nullptr},
      {"-std=c9x", "-std=c99", nullptr, nullptr},
      {"--include-barrier", "-I", "-", nullptr},
      {"-Werror-implicit-function-declaration", "-Werror=",
       "implicit-function-declaration", nullptr},
      {"-Wformat", "-Wformat=", "1", "0"},
      {"-fdiagnostics-color", "-fdiagnostics-color=", "always", "never"},
      {"-Wno-larger-than", "-Wlarger-than=", "18446744073709551615EiB",
       "none"},
      {"-fstack-check", "-fstack-check=", "specific", "no"},
      {"-fhandle-exceptions", "-fexceptions", nullptr, nullptr},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.alias);
    const option_record &r = option_table[index_of(c.alias)];
    ASSERT_LT(r.alias_target, option_count);
    EXPECT_STREQ(option_table[r.alias_target].text, c.target);
    EXPECT_STREQ(r.alias_arg ? r.alias_arg : "(none)",
                 c.arg ? c.arg : "(none)");
    EXPECT_STREQ(r.neg_alias_arg ? r.neg_alias_arg : "(none)",
                 c.neg_arg ? c.neg_arg : "(none)");
  }
}

// The records that carry a given attribute, as a sorted list of texts.
std::vector<std::string> with_attr(unsigned attr) {
  std::vector<std::string> out;
  for (option_index i = 0; i < option_count; ++i)
    if (option_table[i].attrs & attr) out.push_back(option_table[i].text);
  return out;
}

TEST(TableInvariants, SpecialAttributesAndFlags) {
  using v = std::vector<std::string>;
  EXPECT_EQ(with_attr(attr_unavailable),
            (v{"-fkeep-inline-dllexport", "-stdlib="}));
  EXPECT_EQ(with_attr(attr_driver_no_arg),
            (v{"--write-dependencies", "--write-user-dependencies", "-MD",
               "-MMD"}));
  EXPECT_EQ(with_attr(attr_driver_rejects),
            (v{"-imultiarch", "-lang-asm", "-quiet", "-version"}));
  EXPECT_EQ(with_attr(attr_lowercase_arg),
            (v{"-finit-real=", "-march=", "-mcpu=", "-moverride=", "-mtune="}));
  EXPECT_EQ(option_table[index_of("-gno-")].flags,
            OPTF_JOINED | OPTF_UNDOCUMENTED);

  unsigned warned = 0, cpp_equals = 0;
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    SCOPED_TRACE(r.text);
    EXPECT_FALSE((r.flags & OPTF_TARGET) && (r.flags & OPTF_DRIVER));
    EXPECT_EQ(r.flags & (3u << 14), 0u);
    EXPECT_EQ(r.flags >> 26, 0u);
    EXPECT_EQ(r.attrs >> 13, 0u);
    if (r.flags & OPTF_CPP_EQUALS) ++cpp_equals;
    if (r.warning_message) ++warned;
    if (r.flags & OPTF_PARAMS) {
      EXPECT_EQ(std::strncmp(r.text, "--param=", 8), 0);
      EXPECT_EQ(r.text[r.text_len], '=');
    }
    if (r.var_kind == VAR_ENUM) EXPECT_LT(r.var_enum, option_enum_count);
    if ((r.attrs & attr_size_suffix) || r.var_kind == VAR_SIZE)
      EXPECT_TRUE(r.attrs & attr_wide_value);
    if (r.var_offset != OPTION_NO_VARIABLE)
      EXPECT_LT(r.var_offset, sizeof(option_values));
  }
  EXPECT_EQ(cpp_equals, 1u);
  EXPECT_TRUE(option_table[index_of("-cpp=")].flags & OPTF_CPP_EQUALS);
  EXPECT_EQ(warned, 1u);
  EXPECT_STREQ(option_table[index_of("-fhandle-exceptions")].warning_message,
               "%<-fhandle-exceptions%> has been renamed %<-fexceptions%> "
               "(and is now on by default)");
}

TEST(TableInvariants, DriverOptionsOfTheDriverParts) {
  for (const char *text :
       {"-###", "--completion=", "--help", "--help=", "--target-help",
        "--version", "--no-sysroot-suffix", "--sysroot=", "-B", "-E", "-F",
        "-L", "-Wa,", "-Wp,", "-Wl,", "-Xassembler", "-Xpreprocessor",
        "-Xlinker", "-l", "-o", "-x", "-dumpbase", "-dumpbase-ext",
        "-dumpdir", "-dumpspecs", "-dumpversion", "-dumpfullversion",
        "-dumpmachine", "-fcompare-debug", "-fcompare-debug=",
        "-fcompare-debug-second", "-fdiagnostics-color=",
        "-fdiagnostics-urls=", "-foffload=", "-foffload-options=",
        "-fuse-ld=tradl", "-fuse-ld=quikl", "-fuse-ld=mold", "-fuse-ld=lld",
        "-fwpa", "-pipe", "-shared-libvrk", "-static-libvrk",
        "-print-libvrk-file-name", "-save-temps", "-save-temps=", "-specs=",
        "-time=", "-no-canonical-prefixes", "-pass-exit-codes",
        "-print-file-name=", "-print-multi-directory", "-print-multi-lib",
        "-print-multi-os-directory", "-print-multiarch", "-print-prog-name=",
        "-print-search-dirs", "-print-sysroot",
        "-print-sysroot-headers-suffix", "-time", "-wrapper", "-S", "-c",
        "-v", "-pie", "-shared", "-nostdlib++", "-static-libstdc++",
        "-g", "-gdwarf-", "-gtoggle", "-fsanitize=", "-fsanitize-trap",
        "-freport-bug", "-fdiagnostics-plain-output"}) {
    option_index i = index_of(text);
    ASSERT_NE(i, OPTION_UNKNOWN) << text;
    EXPECT_TRUE(option_table[i].flags & OPTF_DRIVER) << text;
  }
  // Options of the compilers proper stay out of the driver's class.
  for (const char *text : {"-Werror", "-w", "-fmax-errors=",
                           "-fdiagnostics-format=", "-march=", "-Wall"})
    EXPECT_FALSE(option_table[index_of(text)].flags & OPTF_DRIVER) << text;
}

// ---------------------------------------------------------------------------
// Enumerated arguments, variables

TEST(EnumLookup, WordsAreExactAndCaseSensitive) {
  int value = -99;
  EXPECT_TRUE(opt_enum_arg_to_value(OPT_fdiagnostics_color_, "never", &value,
                                    OPTF_DRIVER));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(opt_enum_arg_to_value(OPT_fdiagnostics_color_, "auto", &value,
                                    OPTF_DRIVER));
  EXPECT_EQ(value, 2);
  EXPECT_FALSE(opt_enum_arg_to_value(OPT_fdiagnostics_color_, "Never", &value,
                                     OPTF_DRIVER));
  EXPECT_FALSE(opt_enum_arg_to_value(OPT_fdiagnostics_color_, "nev", &value,
                                     OPTF_DRIVER));

  const option_enum_value *fmt =
      option_enums[option_table[index_of("-fdiagnostics-format=")].var_enum]
          .values;
  const char *words[] = {"json", "json-file", "json-stderr", "sarif-file",
                         "sarif-stderr", "text"};
  const int values[] = {1, 2, 1, 4, 3, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_STREQ(fmt[i].text, words[i]);
    EXPECT_EQ(fmt[i].value, values[i]);
  }
  EXPECT_EQ(fmt[6].text, nullptr);
  // With a length, only that many characters of the word count.
  EXPECT_EQ(enum_lookup(fmt, "json,text", 4, &value, 0), 0);
  EXPECT_EQ(enum_lookup(fmt, "json-f", 6, &value, 0), -1);
  EXPECT_EQ(enum_lookup(fmt, "text", 0, &value, 0), 5);
  EXPECT_EQ(value, 0);
}

TEST(EnumLookup, SetValuedTablesCarryGroups) {
  const option_record &bidi = option_table[index_of("-Wbidi-chars=")];
  EXPECT_EQ(bidi.var_kind, VAR_ENUM);
  EXPECT_EQ(bidi.var_value, 1);
  const option_enum_value *v = option_enums[bidi.var_enum].values;
  int value;
  int ucn = enum_lookup(v, "ucn", 0, &value, 0);
  ASSERT_GE(ucn, 0);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(v[ucn].flags >> ENUMV_GROUP_SHIFT, 2u);
  int any = enum_lookup(v, "any", 0, &value, 0);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(v[any].flags >> ENUMV_GROUP_SHIFT, 1u);
  EXPECT_EQ(option_table[index_of("-fconvert=")].var_value, 1);
  EXPECT_EQ(option_table[index_of("-fsanitize-coverage=")].var_value, 2);
}

TEST(EnumLookup, CanonicalAndDriverOnlyEntries) {
  const option_enum_value values[] = {
      {"alpha", 1, 0},
      {"beta", 1, ENUMV_CANONICAL},
      {"gamma", 2, ENUMV_DRIVER_ONLY},
      {nullptr, 0, 0}};
  const char *text = nullptr;
  int value = 0;
  EXPECT_TRUE(enum_text_for_value(values, 1, &text, 0));
  EXPECT_STREQ(text, "beta");
  EXPECT_FALSE(enum_text_for_value(values, 2, &text, OPTF_COMMON));
  EXPECT_EQ(text, nullptr);
  EXPECT_FALSE(enum_text_for_value(values, 2, &text, OPTF_DRIVER));
  EXPECT_STREQ(text, "gamma");
  EXPECT_EQ(enum_lookup(values, "gamma", 0, &value, OPTF_COMMON), -1);
  EXPECT_EQ(enum_lookup(values, "gamma", 0, &value, OPTF_DRIVER), 2);
  EXPECT_EQ(value, 2);
}

TEST(OptionVariables, OffsetsAndInitialImage) {
  option_values opts, set;
  std::memset(&set, 0xff, sizeof set);
  init_options_struct(&opts, &set);
  EXPECT_EQ(opts.x_dwarf_version, 5);
  EXPECT_EQ(opts.x_verbose_flag, 0);
  EXPECT_EQ(set.x_dwarf_version, 0);
  EXPECT_EQ(set.x_output_file, nullptr);
  EXPECT_EQ(option_variable(OPT_gdwarf_, &opts), &opts.x_dwarf_version);
  EXPECT_EQ(option_variable(OPT_o, &opts), &opts.x_output_file);
  EXPECT_EQ(option_variable(OPT_v, &opts), &opts.x_verbose_flag);
  EXPECT_EQ(option_variable(OPT____, &opts), nullptr);
  EXPECT_EQ(option_variable(OPTION_UNKNOWN, &opts), nullptr);
  // The four target-flag options share one word.
  for (const char *t : {"-mbig-endian", "-mlittle-endian",
                        "-mgeneral-regs-only", "-mstrict-align"})
    EXPECT_EQ(option_variable(index_of(t), &opts), &opts.x_target_flags) << t;
  EXPECT_EQ(option_table[index_of("-mlittle-endian")].var_kind, VAR_BIT_CLEAR);
  EXPECT_EQ(option_table[index_of("-mbig-endian")].var_kind, VAR_BIT_SET);
  // Sizes are 64-bit, with a unit suffix.
  const option_record &larger = option_table[OPT_Wlarger_than_];
  EXPECT_EQ(larger.var_kind, VAR_SIZE);
  EXPECT_EQ(larger.attrs & (attr_wide_value | attr_size_suffix),
            attr_wide_value | attr_size_suffix);
}

// ---------------------------------------------------------------------------
// The generator

struct optgen_result {
  int status;
  std::string output;
};

class Optgen : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vrk-optgen-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + dir_ + "'";
    (void)std::system(cmd.c_str());
  }
  optgen_result run(const std::string &source) {
    std::string src = dir_ + "/test.opt";
    std::ofstream(src) << source;
    std::string cmd = std::string("'") + VRK_OPTGEN_PATH + "' '" + dir_ +
                      "' '" + src + "' 2>&1";
    optgen_result r{-1, ""};
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) r.output += buf;
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
  }
  bool written(const char *name) {
    return access((dir_ + "/" + name).c_str(), F_OK) == 0;
  }
  std::string dir_;
};

TEST_F(Optgen, GoodSourceIsWritten) {
  optgen_result r = run(
      "@enum colours | Colours:\n  red 1\n  blue 2\n@end\n"
      "-fPIC  Common Var(flag_pic, 2) Negative(-fpic)\n"
      "-fpic  Common Var(flag_pic, 1) Negative(-fPIC)\n"
      "-fcolour=  Common Joined Enum(colours) Var(colour) Init(1) | Pick.\n"
      "-O  Common JoinedOrMissing\n");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(written("option-data.cc"));
  EXPECT_TRUE(written("option-index.inc"));
  EXPECT_TRUE(written("option-values.inc"));
}

TEST_F(Optgen, BadSourcesFailWithTheRecordAndLine) {
  struct {
    const char *source, *message;
  } cases[] = {
      {"-a  Common\n-a  Common\n", "test.opt:2: error: duplicate record '-a'"},
      {"-a  Common\n-b  Alias(-a)\n-c  Alias(-b)\n",
       "test.opt:3: error: record '-c' is an alias of '-b', itself an alias"},
      {"-a  Alias(-nothere)\n",
       "test.opt:1: error: record '-a' is an alias of unknown option "
       "'-nothere'"},
      {"-fa  Negative(-fb)\n-fb  Negative(-fc)\n-fc  Common\n",
       "ring of '-fa' is not closed: '-fc' names no Negative"},
      {"-fa  Negative(-fmissing)\n",
       "test.opt:1: error: record '-fa': ring member '-fmissing' is missing"},
      {"-fa=  Joined Enum(nosuch) Var(a)\n",
       "test.opt:1: error: record '-fa=' uses unknown enumerated table "
       "'nosuch'"},
      {"-a  Bogus\n", "test.opt:1: error: record '-a': unknown property"},
      {"-a-b  Common\n-a=b  Common\n", "both give the name OPT_a_b"},
      {"-a  Var(v)\n-b  Joined Var(v)\n", "variable 'v' has another type"},
      {"@enum e\n  x 1\n", "enumerated table 'e' is not closed by @end"},
      {"-a  MissingArgError(unclosed\n", "unclosed argument"},
      {"--param=x  Params Joined\n", "must have the form --param=NAME="},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.source);
    optgen_result r = run(c.source);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_FALSE(written("option-data.cc"));
  }
}

}  // namespace
