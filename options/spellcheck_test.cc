// Tests of the weighted edit distance, the cutoff and the closest-candidate
// choice.
#include "options/spellcheck.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(edit_distance, CostsOfEachEdit) {
  EXPECT_EQ(edit_distance("Wall", "wall"), 1u);   // case only
  EXPECT_EQ(edit_distance("Wall", "Wlal"), 2u);   // one transposition
  EXPECT_EQ(edit_distance("", "abc"), 6u);
  EXPECT_EQ(edit_distance("abc", ""), 6u);
  EXPECT_EQ(edit_distance("", ""), 0u);
  EXPECT_EQ(edit_distance("abc", "abc"), 0u);
  EXPECT_EQ(edit_distance("abc", "abd"), 2u);     // substitution
  EXPECT_EQ(edit_distance("abc", "abcd"), 2u);    // insertion
  EXPECT_EQ(edit_distance("abcd", "acd"), 2u);    // deletion
  EXPECT_EQ(edit_distance("kitten", "sitting"), 6u);
  // Transposition compares exactly: a swapped pair that also differs in
  // case is two substitutions.
  EXPECT_EQ(edit_distance("ab", "BA"), 4u);
}

TEST(edit_distance, IsSymmetricOnSamples) {
  const char *words[] = {"fsanitize=address", "fsanitise=address", "Wextra", "Wextr",
                         "fno-common", "fno-commn", "", "x", "ABCdef"};
  for (const char *a : words)
    for (const char *b : words)
      EXPECT_EQ(edit_distance(a, b), edit_distance(b, a)) << a << " / " << b;
}

TEST(edit_distance, LongStringsUseBoundedRows) {
  std::string a(5000, 'a'), b(5000, 'a');
  b[2500] = 'b';
  EXPECT_EQ(edit_distance(a.c_str(), b.c_str()), 2u);
  EXPECT_EQ(edit_distance(a.c_str(), ""), 10000u);
}

TEST(edit_distance_cutoff, Examples) {
  EXPECT_EQ(get_edit_distance_cutoff(6, 7), 4u);
  EXPECT_EQ(get_edit_distance_cutoff(10, 10), 6u);
  EXPECT_EQ(get_edit_distance_cutoff(4, 10), 8u);
  EXPECT_EQ(get_edit_distance_cutoff(10, 4), 8u);
  EXPECT_EQ(get_edit_distance_cutoff(1, 1), 0u);
  EXPECT_EQ(get_edit_distance_cutoff(0, 1), 0u);
  EXPECT_EQ(get_edit_distance_cutoff(5, 4), 2u);
  EXPECT_EQ(get_edit_distance_cutoff(2, 5), 4u);
}

TEST(find_closest_string, PicksTheNearestWithinCutoff) {
  std::vector<const char *> list = {"Wall", "Wextra", "Wformat", "fcommon"};
  EXPECT_STREQ(find_closest_string("Wextr", &list), "Wextra");
  EXPECT_STREQ(find_closest_string("fcomon", &list), "fcommon");
  EXPECT_EQ(find_closest_string("completely-different", &list), nullptr);
  // An exact match needs no hint.
  EXPECT_EQ(find_closest_string("Wall", &list), nullptr);
  std::vector<const char *> empty;
  EXPECT_EQ(find_closest_string("Wall", &empty), nullptr);
}

TEST(find_closest_string, OneCharacterGoalsGetNoHint) {
  std::vector<const char *> list = {"a", "b"};
  EXPECT_EQ(find_closest_string("c", &list), nullptr);
  EXPECT_EQ(find_closest_string("a", &list), nullptr);
}

TEST(find_closest_string, TiesKeepTableOrderUnlessJoinedFormFits) {
  std::vector<const char *> list = {"Wa,", "Wall"};
  EXPECT_STREQ(find_closest_string("Wal", &list), "Wa,");
  // A joined spelling wins a tie when the goal lacks its '='.
  std::vector<const char *> joined = {"fsanitizer", "fsanitize="};
  EXPECT_STREQ(find_closest_string("fsanitize", &joined), "fsanitize=");
  std::vector<const char *> reversed = {"fsanitize=", "fsanitizer"};
  EXPECT_STREQ(find_closest_string("fsanitize", &reversed), "fsanitize=");
  // ... but not when the goal ends in '=' itself.
  std::vector<const char *> both = {"abcdef=", "abcdeg="};
  EXPECT_STREQ(find_closest_string("abcdex=", &both), "abcdef=");
}

}  // namespace
