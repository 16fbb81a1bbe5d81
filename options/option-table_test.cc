// Tests of the generated option table: lookups against the real table, the
// invariants the decoder relies on, and the generator's refusal of bad
// option sources.
#include "options/option-table.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "options/optgen-path.inc"
#include "support/scratch-dir-test-support.h"

namespace {

option_index index_of(const char *text) {
  for (option_index i = 0; i < option_count; ++i)
    if (std::strcmp(option_table[i].text, text) == 0) return i;
  return OPTION_UNKNOWN;
}

// ---------------------------------------------------------------------------
// find_option

TEST(FindOption, WordsAgainstTheTable) {
  constexpr unsigned D = OPTF_DRIVER, C = OPTF_COMMON;
  struct {
    const char *word;
    unsigned mask;
    const char *found;  // record text, or null for OPTION_UNKNOWN
  } cases[] = {
      // Joined options match with and without an argument; a longer exact
      // record wins over its joined prefix; separate-only options do not
      // match a longer word.
      {"-O2", C, "-O"},
      {"-Wl,", D, "-Wl,"},
      {"-Ofast", C, "-Ofast"},
      {"-Tbss=0x1000", D, "-Tbss="},
      {"-Tfoo.ld", D, "-T"},
      {"-Xlinkerfoo", D, nullptr},
      // Wrong-language matches come back, the longest one first met.
      {"-Wall", D, "-Wall"},
      {"-Wformat=2", D, "-Wformat="},
      {"-march=armv8-a", D, "-march="},
      // The "-gno-" catch-all stops the walk before "-g".
      {"-gno-foo", D, nullptr},
      {"-gno-pubnames", D, "-gno-pubnames"},
      {"-g3", D, "-g"},
      {"-gdwarf-4", D, "-gdwarf-"},
      {"-gdwarf4", D, "-gdwarf"},
      // Long-option abbreviations: only for "--" words, never ambiguous,
      // tolerating the "--help"/"--help=" pair.
      {"--he", D, "--help"},
      {"--verb", D, "--verbose"},
      {"--sys", D, "--sysroot"},
      {"--comp", D, nullptr},
      {"--help=x", D, "--help="},
      {"-pass-exit", D, nullptr},
      // Parameters need their trailing '='.
      {"--param=max-inline-insns-auto", C, nullptr},
      {"--param=max-inline-insns-auto=30", C, "--param=max-inline-insns-auto="},
  };
  for (auto &c : cases) {
    option_index got = find_option(c.word + 1, c.mask);
    EXPECT_STREQ(got < option_count ? option_table[got].text
                 : got == OPTION_UNKNOWN ? nullptr
                                         : "(special)",
                 c.found)
        << c.word;
  }
}

TEST(FindOption, EveryRecordFindsItself) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    unsigned classes = r.flags & (OPTL_ALL_LANGUAGES | OPTF_PARAMS |
                                  OPTF_WARNING | OPTF_OPTIMIZATION |
                                  OPTF_TARGET | OPTF_COMMON);
    option_index got = find_option(r.text + 1, classes | OPTF_DRIVER);
    // Only the catch-all may answer "unknown" for its own text.
    EXPECT_EQ(got, std::strcmp(r.text, "-gno-") ? i : OPTION_UNKNOWN)
        << r.text;
  }
}

// ---------------------------------------------------------------------------
// Table invariants

TEST(TableInvariants, PerRecordRules) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    SCOPED_TRACE(r.text);
    EXPECT_EQ(r.text[0], '-');
    EXPECT_EQ(r.text_len, std::strlen(r.text) - 1);
    if (i > 0) EXPECT_LT(std::strcmp(option_table[i - 1].text, r.text), 0);

    // The back chain is the nearest earlier joined proper prefix.
    option_index want = option_count;
    for (option_index j = i; j-- > 0;) {
      const option_record &p = option_table[j];
      if ((p.flags & OPTF_JOINED) && p.text_len < r.text_len &&
          std::strncmp(p.text, r.text, p.text_len + 1) == 0) {
        want = j;
        break;
      }
    }
    EXPECT_EQ(r.back_chain, want);

    // Alias targets are never aliases themselves; only aliases carry
    // alias arguments.
    if (r.alias_target < option_count) {
      const option_record &t = option_table[r.alias_target];
      EXPECT_TRUE(t.alias_target == option_count ||
                  (t.attrs & attr_alias_if_separate));
      if (r.neg_alias_arg) EXPECT_TRUE(r.alias_arg);
    } else {
      EXPECT_FALSE(r.alias_arg || r.neg_alias_arg);
    }

    EXPECT_FALSE((r.flags & OPTF_TARGET) && (r.flags & OPTF_DRIVER));
    EXPECT_EQ(r.flags & (3u << 14), 0u);
    EXPECT_EQ(r.flags >> 26, 0u);
    EXPECT_EQ(r.attrs >> 13, 0u);
    if (r.flags & OPTF_PARAMS) {
      EXPECT_EQ(std::strncmp(r.text, "--param=", 8), 0);
      EXPECT_EQ(r.text[r.text_len], '=');
    }
    if (r.var_kind == VAR_ENUM) EXPECT_LT(r.var_enum, option_enum_count);
    // A "no-" form of a single-word enumerated option has no meaning.
    if (r.var_kind == VAR_ENUM && r.var_value == 0 &&
        r.alias_target == option_count)
      EXPECT_TRUE(r.attrs & attr_no_negative);
    if ((r.attrs & attr_size_suffix) || r.var_kind == VAR_SIZE)
      EXPECT_TRUE(r.attrs & attr_wide_value);
    if (r.var_offset != OPTION_NO_VARIABLE)
      EXPECT_LT(r.var_offset, sizeof(option_values));
  }
  // Compiler warning controls are passed on as switches, never acted on.
  for (const char *text : {"-Werror", "-w"})
    EXPECT_FALSE(option_table[index_of(text)].flags & OPTF_DRIVER) << text;
}

TEST(TableInvariants, NegativeRingsClose) {
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.neg_index < 0 || option_index(r.neg_index) == i) continue;
    std::set<option_index> seen;
    option_index k = r.neg_index;
    while (seen.insert(k).second) {
      ASSERT_LT(k, option_count) << r.text;
      ASSERT_GE(option_table[k].neg_index, 0) << option_table[k].text;
      k = option_table[k].neg_index;
    }
  }
  const char *pic[] = {"-fPIC", "-fPIE", "-fpic", "-fpie"};
  for (int m = 0; m < 4; ++m)
    EXPECT_STREQ(option_table[option_table[index_of(pic[m])].neg_index].text,
                 pic[(m + 1) % 4]);
  EXPECT_EQ(option_table[OPT_Wall].neg_index, int(OPT_Wall));
  EXPECT_EQ(option_table[OPT_o].neg_index, -1);
}

// ---------------------------------------------------------------------------
// Enumerated arguments (no table of this configuration marks a word
// canonical or driver-only)

TEST(EnumLookup, WithALengthOnlyThatManyCharactersCount) {
  int value = -99;
  const option_enum_value *fmt =
      option_enums[option_table[index_of("-fdiagnostics-format=")].var_enum]
          .values;
  EXPECT_EQ(enum_lookup(fmt, "json,text", 4, &value, 0), 0);
  EXPECT_EQ(enum_lookup(fmt, "json-f", 6, &value, 0), -1);
  EXPECT_EQ(enum_lookup(fmt, "text", 0, &value, 0), 5);
  EXPECT_EQ(value, 0);
}

// ---------------------------------------------------------------------------
// The generator (the build runs it over the real option sources; these are
// sources it must refuse)

// Runs the generator on SOURCE in a fresh directory: its exit status, what
// it printed, and whether it wrote the table.
struct optgen_run {
  int status;
  std::string output;
  bool written;
};
optgen_run run_optgen(const std::string &source) {
  scratch_dir dir;
  std::string cmd = std::string("'") + VRK_OPTGEN_PATH + "' '" + dir.root() +
                    "' '" + dir.file("test.opt", source) + "' > '" +
                    dir.path("out") + "' 2>&1";
  int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          slurp(dir.path("out")),
          access(dir.path("option-data.cc").c_str(), F_OK) == 0};
}

TEST(Optgen, BadSourcesFailWithTheRecordAndLine) {
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
    optgen_run r = run_optgen(c.source);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_FALSE(r.written);
  }
}

}  // namespace
