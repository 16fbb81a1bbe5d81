// The option proposer: the list of every option spelling a user could have
// meant (built once, on first use), "did you mean" hints for unrecognised
// options, and the answers to "--completion=".
#ifndef VRK_OPTIONS_OPT_SUGGESTIONS_H
#define VRK_OPTIONS_OPT_SUGGESTIONS_H

#include <vector>

#include "options/option-table.h"

// Candidates are spellings without their leading '-' ("Wall",
// "fno-sanitize=address"); the strings are owned by the list's holder.
using candidate_list = std::vector<const char *>;

struct option_proposer {
  option_proposer() = default;
  option_proposer(const option_proposer &) = delete;
  option_proposer &operator=(const option_proposer &) = delete;
  ~option_proposer();

  // The closest spelling to BAD_OPT (given without its '-'), without its
  // '-', or null.  The text belongs to the proposer.
  const char *suggest_option(const char *bad_opt);

  // Appends to RESULTS ("-" and a candidate, new texts the caller frees)
  // every spelling that begins with OPTION_PREFIX.
  void get_completions(const char *option_prefix, std::vector<char *> &results);

  // Prints the completions of OPTION_PREFIX, one per line, on stdout.
  void suggest_completion(const char *option_prefix);

  // Fills the list; an internal error when it exists already.
  void build_option_suggestions(const char *prefix);

  candidate_list *option_suggestions = nullptr;
};

// Add the spellings of option text OPT_TEXT (with its '-') of record
// OPTION: the text itself and its rewritten long and negative forms.
void add_misspelling_candidates(candidate_list *candidates, const option_record *option,
                                const char *opt_text);

// All CANDIDATES joined by single blanks in *STR (a new text the caller
// frees), and the closest of them to ARG as the result (or null).
const char *candidates_list_and_hint(const char *arg, char *&str,
                                     const std::vector<const char *> &candidates);

#endif
