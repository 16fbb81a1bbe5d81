// The translation engine on a small table of its own, and the shipped
// tables checked for rows that could not work.
#include "toolchain/bridge.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using enum word_action;
using enum word_match;

constexpr word_rule test_rules[] = {
    {"-MD", exact, 1, map, "-MD -MF $1", WORD_DEPENDENCIES, 0, host_variant::any, ""},
    {"-std=zux", prefix, 0, map, "-std=gnu$*", 0, 0, host_variant::any, ""},
    {"-dumpbase", exact, 1, drop, nullptr, WORD_DUMPBASE, 0, host_variant::any, ""},
    {"-quiet", exact, 0, drop, nullptr, 0, 0, host_variant::any, ""},
    {"-fbad", prefix, 0, reject, nullptr, 0, 0, host_variant::any, "no such thing"},
    {"-g0", exact, 0, pass, nullptr, 0, WORD_DEBUG, host_variant::any, ""},
    {"-g", exact, 0, pass, nullptr, WORD_DEBUG, 0, host_variant::any, ""},
    {"-memu", exact, 0, map, "-mlld", 0, 0, host_variant::lld, ""},
    {"-memu", exact, 0, map, "-mbfd", 0, 0, host_variant::bfd, ""},
};
constexpr word_table test_table = {"test", test_rules, sizeof test_rules / sizeof test_rules[0]};

struct outcome {
  std::string words;
  translation t;
};

outcome translate(std::vector<const char *> words, host_variant variant = host_variant::lld) {
  words.insert(words.begin(), "prog");
  outcome out;
  out.t = translate_words(test_table, variant, static_cast<int>(words.size()),
                          const_cast<char *const *>(words.data()), "test");
  for (int i = 0; i < out.t.words.count; i++)
    out.words += std::string(i ? " " : "") + out.t.words.items[i];
  return out;
}

TEST(Bridge, TranslatesByTheFirstMatchingRow) {
  outcome o = translate({"-quiet", "-MD", "x.d", "-std=zux++17", "in.c", "-Wall", "-o", "x.s"});
  EXPECT_EQ(o.words, "-MD -MF x.d -std=gnu++17 in.c -Wall -o x.s");
  EXPECT_EQ(o.t.errors, 0);
  EXPECT_TRUE(o.t.flags & WORD_DEPENDENCIES);
  EXPECT_EQ(o.t.words.items[o.t.words.count], nullptr);
}

TEST(Bridge, KeepsOperandsOfCapturingRowsAndLetsTheLastWordWin) {
  outcome o = translate({"-dumpbase", "dir/x.c", "-g", "-g0"});
  EXPECT_EQ(o.words, "-g -g0");
  EXPECT_STREQ(captured_operand(o.t, WORD_DUMPBASE), "dir/x.c");
  EXPECT_FALSE(o.t.flags & WORD_DEBUG);
  EXPECT_TRUE(translate({"-g0", "-g"}).t.flags & WORD_DEBUG);
  // An operand is never taken for a word of its own.
  EXPECT_EQ(translate({"-dumpbase", "-quiet"}).words, "");
}

TEST(Bridge, RowsOfTheOtherHostVariantAreSkipped) {
  EXPECT_EQ(translate({"-memu"}, host_variant::lld).words, "-mlld");
  EXPECT_EQ(translate({"-memu"}, host_variant::bfd).words, "-mbfd");
}

TEST(Bridge, CountsEveryRejectedWordAndAMissingOperand) {
  testing::internal::CaptureStderr();
  outcome rejected = translate({"-fbad-one", "x.c", "-fbad-two"});
  outcome missing = translate({"-MD"});
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(rejected.t.errors, 2);
  EXPECT_EQ(missing.t.errors, 1);
  EXPECT_EQ(err,
            "test: error: '-fbad-one' cannot be bridged to the host toolchain: no such thing\n"
            "test: error: '-fbad-two' cannot be bridged to the host toolchain: no such thing\n"
            "test: error: missing argument to '-MD'\n");
}

// Every shipped row must be able to work: a map row has host words whose
// placeholders have something to stand for, a row that is not a plain
// pass says why, and no exact row is shadowed by an earlier row.
TEST(Bridge, ShippedTablesAreWellFormed) {
  for (const word_table *table : {&kfront_table, &as_table, &ldwrap_table}) {
    for (std::size_t i = 0; i < table->count; i++) {
      const word_rule &rule = table->rules[i];
      SCOPED_TRACE(std::string(table->program) + " " + rule.word);
      EXPECT_EQ(rule.word[0], '-');
      EXPECT_EQ(rule.action == map, rule.host != nullptr);
      EXPECT_TRUE(rule.why && *rule.why);
      if (rule.host) {
        EXPECT_TRUE(!std::strstr(rule.host, "$1") || rule.operands > 0);
        EXPECT_TRUE(!std::strstr(rule.host, "$*") || rule.match == prefix);
      }
      if (rule.match == exact)
        EXPECT_EQ(lookup_word_rule(*table, rule.variant, rule.word), &rule);
    }
  }
}

} // namespace
