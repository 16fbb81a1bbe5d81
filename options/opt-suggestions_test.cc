// Tests of the option proposer: candidate spellings, hints for mistyped
// options, completions, and the candidate list with hint used by the
// driver's argument checks.
#include "options/opt-suggestions.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> owned(candidate_list &list) {
  std::vector<std::string> out(list.begin(), list.end());
  for (const char *c : list)
    std::free(const_cast<char *>(c));
  list.clear();
  return out;
}

using words = std::vector<std::string>;

TEST(add_misspelling_candidates, LongAndNegativeSpellings) {
  candidate_list list;
  add_misspelling_candidates(&list, &option_table[OPT_Wall], "-Wall");
  EXPECT_EQ(owned(list), (words{"Wall", "Wno-all", "-warn-all", "-warn-no-all"}));

  add_misspelling_candidates(&list, &option_table[OPT_fsanitize_], "-fsanitize=address");
  words s = owned(list);
  ASSERT_GE(s.size(), 4u);
  EXPECT_EQ(s[0], "fsanitize=address");
  EXPECT_EQ(s[1], "fno-sanitize=address");
  EXPECT_NE(std::find(s.begin(), s.end(), "-sanitize=address"), s.end());
  EXPECT_NE(std::find(s.begin(), s.end(), "-no-sanitize=address"), s.end());

  const option_record &param = option_table[OPT__param_align_loop_iterations_];
  add_misspelling_candidates(&list, &param, param.text);
  s = owned(list);
  EXPECT_NE(std::find(s.begin(), s.end(), "-param align-loop-iterations="), s.end());

  // An option without a negative form gets no "no-" spellings.
  add_misspelling_candidates(&list, &option_table[OPT_o], "-o");
  EXPECT_EQ(owned(list), (words{"o"}));
}

TEST(option_proposer, SuggestsTheClosestSpelling) {
  option_proposer p;
  EXPECT_STREQ(p.suggest_option("Wextr"), "Wextra");
  EXPECT_STREQ(p.suggest_option("fno-commn"), "fno-common");
  EXPECT_STREQ(p.suggest_option("fsanitise=address"), "fsanitize=address");
  EXPECT_STREQ(p.suggest_option("Wal"), "Wa,");
  EXPECT_STREQ(p.suggest_option("fsanitize"), "fsanitize=");
  EXPECT_STREQ(p.suggest_option("fdiagnostics-color=nevr"), "fdiagnostics-color=never");
  EXPECT_EQ(p.suggest_option("Wall"), nullptr);  // exact: no hint
  EXPECT_EQ(p.suggest_option("qqqqqqqqqqqqqqqqqqqq"), nullptr);
  // "all" is offered only in its negative form.
  EXPECT_STREQ(p.suggest_option("fno-sanitize=al"), "fno-sanitize=all");
}

TEST(option_proposer, ListIsBuiltOnceAndHoldsEveryKind) {
  option_proposer p;
  EXPECT_EQ(p.option_suggestions, nullptr);
  p.suggest_option("Wextr");
  ASSERT_NE(p.option_suggestions, nullptr);
  candidate_list *first = p.option_suggestions;
  p.suggest_option("Wextr");
  EXPECT_EQ(p.option_suggestions, first);
  const candidate_list &l = *first;
  auto has = [&](const char *s) {
    for (const char *c : l)
      if (std::string(c) == s)
        return true;
    return false;
  };
  EXPECT_TRUE(has("fdiagnostics-color=always"));
  EXPECT_TRUE(has("fdiagnostics-color="));
  EXPECT_TRUE(has("fsanitize-recover=all"));
  EXPECT_TRUE(has("fno-sanitize=all"));
  EXPECT_FALSE(has("fsanitize=all"));
  EXPECT_FALSE(has("gno-"));  // the catch-all adds nothing
  EXPECT_GT(l.size(), std::size_t(option_count));
}

TEST(option_proposer, CompletionsInListOrder) {
  option_proposer p;
  std::vector<char *> results;
  p.get_completions("-fno-sanitize", results);
  ASSERT_FALSE(results.empty());
  bool saw_address = false;
  for (char *r : results) {
    EXPECT_EQ(std::string(r).rfind("-fno-sanitize", 0), 0u) << r;
    saw_address |= std::string(r) == "-fno-sanitize=address";
    std::free(r);
  }
  EXPECT_TRUE(saw_address);

  results.clear();
  p.get_completions("", results);
  p.get_completions(nullptr, results);
  EXPECT_TRUE(results.empty());

  ::testing::internal::CaptureStdout();
  option_proposer q;
  q.suggest_completion("-fsanitize-recover=addr");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "-fsanitize-recover=address\n");
  ::testing::internal::CaptureStdout();
  q.suggest_completion("");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(candidates_list_and_hint, JoinsAndHints) {
  char *text = nullptr;
  std::vector<const char *> c = {"default", "disable"};
  EXPECT_STREQ(candidates_list_and_hint("disabl", text, c), "disable");
  EXPECT_STREQ(text, "default disable");
  std::free(text);
  EXPECT_EQ(candidates_list_and_hint("nvptx-none", text, c), nullptr);
  EXPECT_STREQ(text, "default disable");
  std::free(text);
}

}  // namespace
