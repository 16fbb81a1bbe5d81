// Tests of decoding single options against the generated table: lookups and
// prefix rewrites, negative forms, joined and separate arguments, aliases,
// ignored and removed options, argument conversion and its errors,
// canonical spellings and original texts.
#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "options/opts-common.h"

namespace {

constexpr unsigned D = OPTF_DRIVER;
constexpr unsigned A = OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_COMMON | OPTF_TARGET;

std::string option_name(option_index i) {
  if (i < option_count)
    return option_table[i].text;
  switch (i) {
  case OPTION_UNKNOWN: return "UNKNOWN";
  case OPTION_IGNORED: return "IGNORED";
  case OPTION_REMOVED: return "REMOVED";
  case OPTION_INPUT_FILE: return "INPUT";
  default: return "SPECIAL";
  }
}

std::string error_names(std::uint32_t errors) {
  static const char *const names[] = {"DISABLED", "MISSING_ARG", "WRONG_LANG", "BAD_UINT",
                                      "RANGE",    "BAD_ENUM",    "NEGATIVE",   "BAD_ENUM_SET"};
  std::string out;
  for (int bit = 0; bit < 8; ++bit)
    if (errors & (1u << bit))
      out += std::string(out.empty() ? "" : "|") + names[bit];
  return out.empty() ? "none" : out;
}

// Every field of a decoded option as "key=value" items; the option itself
// is the first item.
std::set<std::string> describe(const decoded_option &d, unsigned consumed) {
  std::string canon;
  for (std::size_t i = 0; i < d.canonical_count; ++i)
    canon += std::string(i ? "|" : "") + (d.canonical[i] ? d.canonical[i] : "(null)");
  return {option_name(d.opt_index),
          "arg=" + std::string(d.arg ? d.arg : "(null)"),
          "v=" + std::to_string(d.value),
          "mask=" + std::to_string(d.mask),
          "err=" + error_names(d.errors),
          "n=" + std::to_string(consumed),
          "canon=" + canon,
          "orig=" + std::string(d.orig_text ? d.orig_text : "(null)"),
          "warn=" + std::string(d.warning_message ? d.warning_message : "(null)")};
}

TEST(decode_option, WordsToDecodedOptions) {
  struct {
    std::vector<const char *> words;
    unsigned mask;
    const char *expected;  // ';'-separated items that describe() must hold
  } cases[] = {
      // Joined and separate arguments; -x canonicalises to two words.
      {{"-O2"}, D, "-O;arg=2;n=1;canon=-O2"},
      {{"-o", "hello", "x.c"}, D, "-o;arg=hello;n=2;orig=-o hello;canon=-o|hello;err=none"},
      {{"-xc"}, D, "-x;canon=-x|c;orig=-xc"},
      {{"-x", "c"}, D, "-x;canon=-x|c;n=2"},
      {{"-o", ""}, D, "-o;arg=;orig=-o \"\";n=2"},
      // Missing arguments; a joined option taking an empty one.
      {{"-x"}, D, "-x;err=MISSING_ARG;n=1;arg=(null)"},
      {{"-specs="}, D, "-specs=;err=MISSING_ARG"},
      {{"-Wl,"}, D, "-Wl,;arg=;err=none"},
      // For the driver, -MD leaves the next word alone.
      {{"-MD", "x.d"}, D, "-MD;n=1;err=WRONG_LANG"},
      // Negative forms.
      {{"-Wno-all"}, A, "-Wall;v=0;canon=-Wno-all"},
      {{"-fno-dump-x"}, A, "UNKNOWN;err=NEGATIVE;v=0;arg=-fno-dump-x;n=1"},
      {{"-gno-foo"}, D, "UNKNOWN;err=NEGATIVE"},
      // Long spellings (--debug is option-words.test's).
      {{"--std=c99"}, A, "-std=c99;canon=-std=c99"},
      {{"--std", "c99"}, A, "-std=c99;n=2;canon=-std=c99;orig=--std c99"},
      {{"--optimize=2"}, D, "-O;arg=2"},
      {{"--warn-no-all"}, A, "-Wall;v=0"},
      {{"--no-common"}, A, "-fcommon;canon=-fno-common"},
      {{"--"}, D, "UNKNOWN"},
      {{"--warn-"}, D, "UNKNOWN"},
      // The --machine rows try the whole second word first; the two-word
      // rows apply to the bare prefix only.
      {{"--machine", "no-strict-align"}, A, "-mstrict-align;v=0;n=2"},
      {{"--machine", "cpu=cortex-a53"}, A, "-mcpu=;arg=cortex-a53;n=2"},
      {{"--machine=cpu=cortex-a53"}, A, "-mcpu=;arg=cortex-a53;n=1"},
      {{"--machine", "bogus-option-name"}, D, "UNKNOWN;n=1"},
      {{"--machinebogus", "cpu=cortex-a53"}, A, "UNKNOWN;n=1"},
      // Aliases whose two forms give two arguments of the target.
      {{"-Wformat"}, A, "-Wformat=;arg=1;v=1"},
      {{"-Wno-format"}, A, "-Wformat=;arg=0;v=0;canon=-Wformat=0"},
      {{"-fdiagnostics-color"}, D, "-fdiagnostics-color=;arg=always;v=1;err=none"},
      {{"-fno-diagnostics-color"}, D,
       "-fdiagnostics-color=;arg=never;v=0;canon=-fdiagnostics-color=never"},
      {{"-Wno-larger-than"}, A, "-Wlarger-than=;arg=18446744073709551615EiB;v=-1;err=none"},
      {{"-Wno-larger-than=5"}, A, "UNKNOWN;err=NEGATIVE"},
      // Ignored, removed and warned options.
      {{"-fstrength-reduce"}, D, "IGNORED;canon=(null)"},
      {{"-fmudflap"}, D, "REMOVED;v=1"},
      {{"-fno-mudflap"}, D, "REMOVED;v=0"},
      {{"-fhandle-exceptions"}, A,
       "-fexceptions;warn=%<-fhandle-exceptions%> has been renamed %<-fexceptions%> "
       "(and is now on by default)"},
      // A wrong-language option still gets its argument processed.
      {{"-Wall"}, D, "-Wall;err=WRONG_LANG"},
      {{"-march=ARMv8-A"}, D, "-march=;arg=armv8-a;err=WRONG_LANG"},
      // Integers: size units (case rules), overflow to the largest size,
      // any base without units, decimal for all-digit texts, ranges.
      {{"-Wlarger-than=16kib"}, A, "v=16384"},
      {{"-Wlarger-than=16kB"}, A, "v=16000"},
      {{"-Wlarger-than=16kb"}, A, "err=BAD_UINT"},
      {{"-Wlarger-than=0x10"}, A, "err=BAD_UINT"},
      {{"-Wlarger-than=20EiB"}, A, "v=-1;err=none"},
      {{"-gdwarf-0x4"}, D, "v=4"},
      {{"-gdwarf-010"}, D, "v=10"},
      {{"-gdwarf-x"}, D, "err=BAD_UINT"},
      {{"--param=align-threshold=65536"}, A, "v=65536;err=none"},
      {{"--param=align-threshold=65537"}, A, "err=RANGE"},
      {{"--param=align-threshold=0"}, A, "err=RANGE"},
      // Enumerated words: whole and case-sensitive.
      {{"-fdiagnostics-color=always"}, D, "v=1;err=none"},
      {{"-fdiagnostics-color=Never"}, D, "err=BAD_ENUM"},
      {{"-fdiagnostics-color=nev"}, D, "err=BAD_ENUM"},
      {{"-fdiagnostics-color="}, D, "err=MISSING_ARG"},
      // Set-valued words: groups, bits, and the mask they replace (the
      // refusals with their messages are read_cmdline's test).
      {{"-Wbidi-chars=unpaired,ucn"}, A, "v=5;mask=7;err=none"},
      {{"-Wbidi-chars=any,"}, A, "err=BAD_ENUM_SET"},
      {{"-Wbidi-chars=bogus"}, A, "err=BAD_ENUM_SET"},
      {{"-fsanitize-coverage=trace-pc,trace-cmp"}, A, "v=3;mask=3;err=none"},
  };
  for (auto &c : cases) {
    std::vector<const char *> words = c.words;
    words.push_back(nullptr);
    decoded_option d{};
    std::set<std::string> got = describe(d, decode_cmdline_option(words.data(), c.mask, &d));
    std::string all;
    for (const std::string &item : got)
      all += item + "; ";
    std::stringstream want(c.expected);
    for (std::string item; std::getline(want, item, ';');)
      EXPECT_TRUE(got.count(item)) << c.words[0] << ": no " << item << " in " << all;
  }
}

TEST(decode_option, CountedFormNeverReadsPastItsCount) {
  const char *vec[] = {"-o", "not-to-be-read"};
  decoded_option d;
  EXPECT_EQ(decode_cmdline_option_n(vec, 1, D, &d), 1u);
  EXPECT_EQ(d.errors & OPTERR_MISSING_ARG, OPTERR_MISSING_ARG);
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
    EXPECT_EQ(decode_cmdline_option(vec, D, &d), 1u) << w;
    EXPECT_NE(d.orig_text, nullptr);
    EXPECT_GE(d.canonical_count, 1u);
  }
}

TEST(parse_integral_argument, ConversionRules) {
  constexpr std::uint64_t bad = ~std::uint64_t(0);
  struct {
    const char *text;
    bool units;
    std::uint64_t value;
    int err;
  } cases[] = {
      {"123", false, 123, 0},
      {"", false, bad, EINVAL},
      {"-1", false, bad, EINVAL},
      {" 1", false, bad, EINVAL},
      {"12abc", false, bad, EINVAL},
      {"0x10", false, 16, 0},
      {"0x10", true, bad, EINVAL},
      {"0x1ffffffffffffffffff", false, bad, ERANGE},
      {"3MB", true, 3000000, 0},
      {"3mb", true, bad, EINVAL},
      {"2gib", true, std::uint64_t(2) << 30, 0},
      {"18446744073709551615EiB", true, bad, 0},
      {"0EiB", true, 0, 0},
  };
  for (auto &c : cases) {
    int err = -1;
    EXPECT_EQ(parse_integral_argument(c.text, &err, c.units), c.value) << c.text;
    EXPECT_EQ(err, c.err) << c.text;
  }
}

TEST(generate_option, BuildsCanonicalAndOrigText) {
  decoded_option d;
  generate_option(OPT_o, "out", 1, D, &d);
  EXPECT_EQ(d.errors, 0u);
  EXPECT_STREQ(d.orig_text, "-o out");
  ASSERT_EQ(d.canonical_count, 2u);
  EXPECT_STREQ(d.canonical[1], "out");
  generate_option(OPT_Wall, nullptr, 0, D, &d);
  EXPECT_EQ(d.errors, std::uint32_t(OPTERR_WRONG_LANG));
  EXPECT_STREQ(d.orig_text, "-Wno-all");
}

}  // namespace
