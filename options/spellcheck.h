// Misspelling distance and the choice of the closest candidate, used for
// the "did you mean" hints on mistyped options and option arguments.
#ifndef VRK_OPTIONS_SPELLCHECK_H
#define VRK_OPTIONS_SPELLCHECK_H

#include <cstddef>
#include <vector>

// Distances are in half-steps: an insertion, deletion, substitution or
// adjacent transposition costs 2, a change of letter case alone costs 1.
using edit_distance_t = unsigned;
inline constexpr edit_distance_t MAX_EDIT_DISTANCE = ~0u;

edit_distance_t edit_distance(const char *s, std::size_t len_s, const char *t, std::size_t len_t);
edit_distance_t edit_distance(const char *s, const char *t);

// The largest distance at which a candidate of CANDIDATE_LEN characters is
// still a plausible misspelling of a goal of GOAL_LEN characters.
edit_distance_t get_edit_distance_cutoff(std::size_t goal_len, std::size_t candidate_len);

// The candidate closest to GOAL, or null when none is close enough or the
// goal is itself a candidate.  Earlier candidates win ties, except that a
// candidate ending in '=' wins a tie when the goal does not end in '='.
const char *find_closest_string(const char *goal, const std::vector<const char *> *candidates);

#endif
