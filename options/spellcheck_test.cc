// Tests of the weighted edit distance, the cutoff and the closest-candidate
// choice.
#include "options/spellcheck.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(edit_distance, CostsOfEachEdit) {
  struct {
    const char *a, *b;
    unsigned distance;
  } cases[] = {
      {"Wall", "wall", 1},  // case only
      {"Wall", "Wlal", 2},  // one transposition
      {"", "abc", 6},         {"", "", 0},
      {"abc", "abd", 2},      {"abc", "abcd", 2}, {"abcd", "acd", 2},
      {"kitten", "sitting", 6},
      // Transposition compares exactly: a swapped pair that also differs
      // in case is two substitutions.
      {"ab", "BA", 4},
      {"fsanitize=address", "fsanitise=address", 2},
  };
  for (auto &c : cases) {
    EXPECT_EQ(edit_distance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(edit_distance(c.b, c.a), c.distance) << c.b << " / " << c.a;
  }
  // Long strings: only a few rows are kept, the answer is the same.
  std::string a(5000, 'a'), b(5000, 'a');
  b[2500] = 'b';
  EXPECT_EQ(edit_distance(a.c_str(), b.c_str()), 2u);
}

TEST(edit_distance_cutoff, Examples) {
  const unsigned cases[][3] = {{6, 7, 4}, {10, 10, 6}, {4, 10, 8}, {10, 4, 8},
                               {1, 1, 0}, {0, 1, 0},   {5, 4, 2},  {2, 5, 4}};
  for (auto &c : cases)
    EXPECT_EQ(get_edit_distance_cutoff(c[0], c[1]), c[2]) << c[0] << ", " << c[1];
}

TEST(find_closest_string, Choices) {
  struct {
    const char *goal;
    std::vector<const char *> list;
    const char *hint;
  } cases[] = {
      {"Wextr", {"Wall", "Wextra", "Wformat", "fcommon"}, "Wextra"},
      {"fcomon", {"Wall", "Wextra", "Wformat", "fcommon"}, "fcommon"},
      {"completely-different", {"Wall", "Wextra"}, nullptr},
      {"Wall", {"Wall", "Wextra"}, nullptr},  // an exact match needs no hint
      {"Wall", {}, nullptr},
      // One-character goals never get a hint.
      {"c", {"a", "b"}, nullptr},
      {"a", {"a", "b"}, nullptr},
      // Ties keep list order unless a joined spelling fits a goal that
      // lacks its '='.
      {"Wal", {"Wa,", "Wall"}, "Wa,"},
      {"fsanitize", {"fsanitizer", "fsanitize="}, "fsanitize="},
      {"fsanitize", {"fsanitize=", "fsanitizer"}, "fsanitize="},
      {"abcdex=", {"abcdef=", "abcdeg="}, "abcdef="},
  };
  for (auto &c : cases)
    EXPECT_STREQ(find_closest_string(c.goal, &c.list), c.hint) << c.goal;
}

}  // namespace
