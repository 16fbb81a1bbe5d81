// Candidate list of option spellings, misspelling hints and completions.
#include "options/opt-suggestions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/config/aarch64/aarch64-common.h"
#include "diagnostics/diagnostic.h"
#include "options/opts-common.h"
#include "options/sanitizer-args.h"
#include "options/spellcheck.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

// The "-gno-" catch-all: exactly joined and undocumented among these bits.
bool is_catch_all(const option_record &r) {
  const unsigned bits =
      OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_TARGET | OPTF_COMMON | OPTF_JOINED | OPTF_UNDOCUMENTED;
  return (r.flags & bits) == (OPTF_JOINED | OPTF_UNDOCUMENTED);
}

// The argument values the target offers for option I.  Only completions
// (the list built with a prefix) get them; misspelling hints are chosen
// among the option spellings alone.
std::vector<const char *> target_option_values(option_index i, const char *prefix) {
  if (prefix == nullptr)
    return {};
  if (i == OPT_mcpu_ || i == OPT_mtune_)
    return aarch64_core_names();
  if (i == OPT_march_)
    return aarch64_arch_names();
  return {};
}

void add_text(candidate_list *candidates, std::string text) {
  candidates->push_back(xstrndup(text.data(), text.size()));
}

}  // namespace

void add_misspelling_candidates(candidate_list *candidates, const option_record *option,
                                const char *opt_text) {
  vrk_assert(candidates != nullptr && option != nullptr && opt_text != nullptr);
  if (is_catch_all(*option))
    return;
  candidates->push_back(xstrdup(opt_text + 1));

  for (std::size_t i = 0; i < prefix_rewrite_count; ++i) {
    const prefix_rewrite &row = prefix_rewrites[i];
    if (row.negative && (option->attrs & attr_no_negative))
      continue;
    std::size_t repl_len = std::strlen(row.replacement);
    if (std::strncmp(opt_text, row.replacement, repl_len) != 0)
      continue;
    add_text(candidates, std::string(row.prefix + 1) + (opt_text + repl_len));
  }

  // "--param=NAME=" is also written as the two words "--param NAME=".
  if (std::strncmp(opt_text, "--param=", 8) == 0)
    add_text(candidates, std::string("-param ") + (opt_text + 8));
}

const char *candidates_list_and_hint(const char *arg, char *&str,
                                     const std::vector<const char *> &candidates) {
  vrk_assert(!candidates.empty());
  std::string text;
  for (const char *c : candidates) {
    if (!text.empty())
      text += ' ';
    text += c;
  }
  str = xstrndup(text.data(), text.size());
  return find_closest_string(arg, &candidates);
}

option_proposer::~option_proposer() {
  if (option_suggestions == nullptr)
    return;
  for (const char *c : *option_suggestions)
    std::free(const_cast<char *>(c));
  delete option_suggestions;
}

void option_proposer::build_option_suggestions(const char *prefix) {
  vrk_assert(option_suggestions == nullptr);
  option_suggestions = new candidate_list;
  candidate_list *list = option_suggestions;

  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (i == OPT_fsanitize_ || i == OPT_fsanitize_recover_) {
      add_misspelling_candidates(list, &r, r.text);
      for (std::size_t j = 0; j < sanitizer_opts_count; ++j) {
        const char *name = sanitizer_opts[j].name;
        if (i == OPT_fsanitize_ && std::strcmp(name, "all") == 0) {
          // Only the negative form of "all" is valid; it has no further
          // negative spellings.
          option_record positive_only = r;
          positive_only.attrs |= attr_no_negative;
          add_misspelling_candidates(list, &positive_only, "-fno-sanitize=all");
          continue;
        }
        std::string text = std::string(r.text) + name;
        add_misspelling_candidates(list, &r, text.c_str());
      }
    } else if (r.var_kind == VAR_ENUM) {
      for (const option_enum_value *v = option_enums[r.var_enum].values; v->text; ++v) {
        std::string text = std::string(r.text) + v->text;
        add_misspelling_candidates(list, &r, text.c_str());
      }
      add_misspelling_candidates(list, &r, r.text);
    } else {
      std::vector<const char *> values = target_option_values(i, prefix);
      for (const char *value : values) {
        std::string text = std::string(r.text) + value;
        add_misspelling_candidates(list, &r, text.c_str());
      }
      if (values.empty())
        add_misspelling_candidates(list, &r, r.text);
    }
  }
}

const char *option_proposer::suggest_option(const char *bad_opt) {
  if (option_suggestions == nullptr)
    build_option_suggestions(nullptr);
  return find_closest_string(bad_opt, option_suggestions);
}

void option_proposer::get_completions(const char *option_prefix, std::vector<char *> &results) {
  if (option_prefix == nullptr || *option_prefix == '\0')
    return;
  if (*option_prefix == '-')
    ++option_prefix;
  if (option_suggestions == nullptr)
    build_option_suggestions(option_prefix);
  std::size_t len = std::strlen(option_prefix);
  for (const char *candidate : *option_suggestions)
    if (std::strncmp(candidate, option_prefix, len) == 0)
      results.push_back(concat("-", candidate, nullptr));
}

void option_proposer::suggest_completion(const char *option_prefix) {
  std::vector<char *> results;
  get_completions(option_prefix, results);
  for (char *r : results) {
    std::fputs(r, stdout);
    std::fputc('\n', stdout);
    std::free(r);
  }
}
