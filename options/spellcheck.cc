// Weighted edit distance, length-dependent cutoff and closest candidate.
#include "options/spellcheck.h"

#include <cstring>

#include "diagnostics/diagnostic.h"

namespace {

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

edit_distance_t edit_distance(const char *s, std::size_t m, const char *t, std::size_t n) {
  if (m == 0)
    return edit_distance_t(2 * n);
  if (n == 0)
    return edit_distance_t(2 * m);

  // Rows for t prefixes of length b-2, b-1 and b, each indexed by the
  // length a of the s prefix.
  std::vector<edit_distance_t> rows(3 * (m + 1));
  edit_distance_t *two_ago = rows.data();
  edit_distance_t *prev = two_ago + (m + 1);
  edit_distance_t *cur = prev + (m + 1);
  for (std::size_t a = 0; a <= m; ++a)
    prev[a] = edit_distance_t(2 * a);

  for (std::size_t b = 1; b <= n; ++b) {
    cur[0] = edit_distance_t(2 * b);
    for (std::size_t a = 1; a <= m; ++a) {
      edit_distance_t del = prev[a] + 2;   // D(a, b-1) + 2
      edit_distance_t ins = cur[a - 1] + 2; // D(a-1, b) + 2
      edit_distance_t cost;
      if (s[a - 1] == t[b - 1])
        cost = 0;
      else if (ascii_lower(s[a - 1]) == ascii_lower(t[b - 1]))
        cost = 1;
      else
        cost = 2;
      edit_distance_t best = prev[a - 1] + cost;
      if (del < best)
        best = del;
      if (ins < best)
        best = ins;
      if (a >= 2 && b >= 2 && s[a - 1] == t[b - 2] && s[a - 2] == t[b - 1]) {
        edit_distance_t trans = two_ago[a - 2] + 2;
        if (trans < best)
          best = trans;
      }
      cur[a] = best;
    }
    edit_distance_t *old = two_ago;
    two_ago = prev;
    prev = cur;
    cur = old;
  }
  return prev[m];
}

edit_distance_t edit_distance(const char *s, const char *t) {
  return edit_distance(s, std::strlen(s), t, std::strlen(t));
}

edit_distance_t get_edit_distance_cutoff(std::size_t goal_len, std::size_t candidate_len) {
  std::size_t longer = goal_len > candidate_len ? goal_len : candidate_len;
  std::size_t shorter = goal_len > candidate_len ? candidate_len : goal_len;
  if (longer <= 1)
    return 0;
  if (longer - shorter <= 1)
    return longer <= 5 ? 2 : edit_distance_t(2 * (longer / 3));
  return edit_distance_t((2 * (longer + 2)) / 3);
}

const char *find_closest_string(const char *goal, const std::vector<const char *> *candidates) {
  vrk_assert(goal != nullptr);
  vrk_assert(candidates != nullptr);

  std::size_t goal_len = std::strlen(goal);
  bool goal_ends_eq = goal_len > 0 && goal[goal_len - 1] == '=';
  const char *best = nullptr;
  edit_distance_t best_distance = MAX_EDIT_DISTANCE;
  std::size_t best_len = 0;

  for (const char *candidate : *candidates) {
    vrk_assert(candidate != nullptr);
    std::size_t len = std::strlen(candidate);
    std::size_t diff = len > goal_len ? len - goal_len : goal_len - len;
    // Cheap rejections: the length difference alone is a lower bound on
    // the distance (in whole steps, so also on the half-step distance).
    if (diff >= best_distance)
      continue;
    if (get_edit_distance_cutoff(goal_len, len) < diff)
      continue;
    edit_distance_t d = edit_distance(goal, goal_len, candidate, len);
    bool take = d < best_distance;
    if (!take && d == best_distance && best != nullptr && len > 0 &&
        candidate[len - 1] == '=' && !goal_ends_eq)
      take = true;
    if (take) {
      best = candidate;
      best_distance = d;
      best_len = len;
    }
  }

  if (best_distance == 0)
    return nullptr;
  if (best != nullptr && best_distance > get_edit_distance_cutoff(goal_len, best_len))
    return nullptr;
  return best;
}
