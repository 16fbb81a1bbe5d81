// Tests of the option proposer: candidate spellings, hints for mistyped
// options and the candidate list behind them.
#include "options/opt-suggestions.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using words = std::vector<std::string>;

words candidates_of(const option_record &r, const char *text) {
  candidate_list list;
  add_misspelling_candidates(&list, &r, text);
  words out(list.begin(), list.end());
  for (const char *c : list)
    std::free(const_cast<char *>(c));
  return out;
}

TEST(add_misspelling_candidates, LongAndNegativeSpellings) {
  EXPECT_EQ(candidates_of(option_table[OPT_Wall], "-Wall"),
            (words{"Wall", "Wno-all", "-warn-all", "-warn-no-all"}));
  EXPECT_EQ(candidates_of(option_table[OPT_fsanitize_], "-fsanitize=address"),
            (words{"fsanitize=address", "fno-sanitize=address", "-sanitize=address",
                   "-no-sanitize=address"}));
  const option_record &param = option_table[OPT__param_align_loop_iterations_];
  EXPECT_EQ(candidates_of(param, param.text),
            (words{"-param=align-loop-iterations=", "-param align-loop-iterations="}));
  // An option without a negative form gets no "no-" spellings.
  EXPECT_EQ(candidates_of(option_table[OPT_o], "-o"), (words{"o"}));
}

TEST(option_proposer, SuggestsTheClosestSpelling) {
  option_proposer p;
  const char *cases[][2] = {
      {"Wextr", "Wextra"},
      {"fsanitise=address", "fsanitize=address"},
      {"Wal", "Wa,"},  // as close as "Wall", and first in table order
      {"fsanitize", "fsanitize="},
      {"fdiagnostics-color=nevr", "fdiagnostics-color=never"},
      {"Wall", nullptr},  // exact: no hint
      {"qqqqqqqqqqqqqqqqqqqq", nullptr},
      {"fno-sanitize=al", "fno-sanitize=all"},  // "all" only in its negative form
  };
  for (auto &c : cases)
    EXPECT_STREQ(p.suggest_option(c[0]), c[1]) << c[0];
}

TEST(option_proposer, ListIsBuiltOnceAndHoldsEveryKind) {
  option_proposer p;
  EXPECT_EQ(p.option_suggestions, nullptr);
  p.suggest_option("Wextr");
  candidate_list *first = p.option_suggestions;
  ASSERT_NE(first, nullptr);
  p.suggest_option("Wextr");
  EXPECT_EQ(p.option_suggestions, first);
  auto has = [&](const char *s) {
    for (const char *c : *first)
      if (std::string(c) == s)
        return true;
    return false;
  };
  for (const char *present : {"fdiagnostics-color=always", "fdiagnostics-color=",
                              "fsanitize-recover=all", "fno-sanitize=all"})
    EXPECT_TRUE(has(present)) << present;
  // "all" only negated; the catch-all adds nothing.
  for (const char *absent : {"fsanitize=all", "gno-"})
    EXPECT_FALSE(has(absent)) << absent;
}

words completions_of(const char *prefix) {
  option_proposer p;
  std::vector<char *> results;
  p.get_completions(prefix, results);
  words out(results.begin(), results.end());
  for (char *r : results)
    std::free(r);
  return out;
}

TEST(option_proposer, CompletesProcessorNamesButHintsOnlyOptions) {
  EXPECT_EQ(completions_of("-march=armv9."),
            (words{"-march=armv9.1-a", "-march=armv9.2-a", "-march=armv9.3-a"}));
  EXPECT_EQ(completions_of("-mcpu=cortex-a5"),
            (words{"-mcpu=cortex-a53", "-mcpu=cortex-a57", "-mcpu=cortex-a55",
                   "-mcpu=cortex-a57.cortex-a53", "-mcpu=cortex-a510"}));
  EXPECT_EQ(completions_of("-mtune=nat"), (words{"-mtune=native"}));
  EXPECT_EQ(completions_of("-mcpu=gen"), (words{"-mcpu=generic"}));
  // The hint list has the option texts only.
  option_proposer p;
  EXPECT_STREQ(p.suggest_option("mcpu=cortex-a35x"), nullptr);
  EXPECT_STREQ(p.suggest_option("mcpux="), "mcpu=");
}

}  // namespace
