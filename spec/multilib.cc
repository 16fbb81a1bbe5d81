// Multilib selection over the multilib tables (named specs), the
// -print-multi-lib listing, and the sysroot suffixes.
//
// Rule syntax shared by the tables: "PATH OPT OPT;" where each OPT may be
// written "!OPT" (must not be in effect); newlines between rules are
// ignored.  A rule that reaches the end of its table before ";" makes the
// whole table invalid.
#include "spec/multilib.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

using cache_state = multilib_answers::cache_state;

const char *table(const char *value) { return value ? value : ""; }

bool contains(const std::vector<std::string> &list, const char *text, std::size_t length) {
  for (const std::string &s : list)
    if (s.size() == length && std::memcmp(s.data(), text, length) == 0)
      return true;
  return false;
}

// One option of a rule at P (up to a blank or ";"); null when the text
// ends first.  *END is set to the character after the option.
bool scan_option(const char *p, const char **end) {
  while (*p != ' ' && *p != ';') {
    if (!*p)
      return false;
    p++;
  }
  *end = p;
  return true;
}

struct match_pair {
  std::string switch_text;
  std::string option;
};

std::vector<match_pair> parse_matches() {
  const char *matches = table(named_specs.multilib_matches_spec);
  std::vector<match_pair> pairs;
  for (const char *p = matches; *p;) {
    const char *start = p;
    while (*p && *p != ';' && *p != ' ')
      p++;
    if (*p != ' ')
      fatal_error(UNKNOWN_LOCATION, "multilib spec %qs is invalid", matches);
    match_pair pair;
    pair.switch_text.assign(start, p);
    const char *option = ++p;
    while (*p && *p != ';') {
      if (*p == ' ')
        fatal_error(UNKNOWN_LOCATION, "multilib spec %qs is invalid", matches);
      p++;
    }
    pair.option.assign(option, p);
    pairs.push_back(std::move(pair));
    if (*p == ';')
      p++;
  }
  return pairs;
}

// D is added unless some alternative of the first multilib_options group
// that lists D is already in effect.
void add_default_if_not_overridden(compilation &comp, const std::string &d) {
  const char *p = table(named_specs.multilib_options_spec);
  while (*p) {
    while (*p == ' ')
      p++;
    const char *group = p;
    while (*p && *p != ' ')
      p++;
    const char *group_end = p;

    bool has_d = false;
    for (const char *a = group; a < group_end;) {
      const char *alt = a;
      while (a < group_end && *a != '/')
        a++;
      if (static_cast<std::size_t>(a - alt) == d.size() &&
          std::memcmp(alt, d.data(), d.size()) == 0)
        has_d = true;
      if (a < group_end)
        a++;
    }
    if (!has_d)
      continue;

    for (const char *a = group; a < group_end;) {
      const char *alt = a;
      while (a < group_end && *a != '/')
        a++;
      if (multilib_option_used(comp, alt, static_cast<std::size_t>(a - alt)))
        return;
      if (a < group_end)
        a++;
    }
    comp.multilib.implied_options.push_back(d);
    return;
  }
}

void build_implied_options(compilation &comp) {
  multilib_answers &answers = comp.multilib;
  answers.implied_state = cache_state::building;
  std::vector<match_pair> pairs = parse_matches();
  for (const saved_switch &sw : comp.switches) {
    if (sw.liveness & live_removed)
      continue;
    for (const match_pair &pair : pairs)
      if (pair.switch_text == sw.text) {
        answers.implied_options.push_back(pair.option);
        break;
      }
  }
  for (const std::string &d : answers.default_options)
    add_default_if_not_overridden(comp, d);
  answers.implied_state = cache_state::built;
}

void parse_default_options(std::vector<std::string> &default_options) {
  default_options.clear();
  const char *p = table(named_specs.multilib_defaults_spec);
  while (*p) {
    while (*p == ' ' || *p == '\t')
      p++;
    const char *word = p;
    while (*p && *p != ' ' && *p != '\t')
      p++;
    if (p > word)
      default_options.emplace_back(word, p);
  }
}

// Whether an exclusion rule holds.  Sets *P past the rule's ";".
bool exclusion_holds(compilation &comp, const char **pp, const char *exclusions) {
  const char *p = *pp;
  bool ok = true;
  while (*p != ';') {
    if (!*p)
      fatal_error(UNKNOWN_LOCATION, "multilib exclusions %qs is invalid", exclusions);
    if (!ok) {
      p++;
      continue;
    }
    bool negated = *p == '!';
    const char *arg = negated ? p + 1 : p;
    const char *end;
    if (!scan_option(arg, &end))
      fatal_error(UNKNOWN_LOCATION, "multilib exclusions %qs is invalid", exclusions);
    ok = multilib_option_used(comp, arg, static_cast<std::size_t>(end - arg)) != negated;
    p = end;
    if (*p == ' ')
      p++;
  }
  *pp = p + 1;
  return ok;
}

void set_os_and_multiarch_dirs(multilib_dirs &chosen, const char *path, std::size_t path_length) {
  const char *end = path + path_length;
  const char *first = static_cast<const char *>(std::memchr(path, ':', path_length));
  const char *os = first + 1;
  const char *second = static_cast<const char *>(std::memchr(os, ':', end - os));
  const char *os_end = second ? second : end;
  chosen.os_dir = os_end > os ? xstrndup(os, os_end - os) : ".";
  if (second)
    chosen.multiarch_dir = xstrndup(second + 1, end - (second + 1));
}

// This build's hook for the processor: the directory stays as chosen.
const char *target_multilib_dir(const char *dir) { return dir; }

// The options of a listing rule, whose ";" check_rule_end has found: each
// call stores the next option as written ("!" included) and moves Q past
// it; false at the ";".
bool next_rule_option(const char *&q, const char **option, std::size_t *length) {
  if (*q == ';')
    return false;
  const char *end = q;
  while (*end != ' ' && *end != ';')
    end++;
  *option = q;
  *length = static_cast<std::size_t>(end - q);
  q = *end == ' ' ? end + 1 : end;
  return true;
}

// Whether the rule lists ARG (LENGTH characters), compared as written.
bool rule_lists_option(const char *rule_options, const char *arg, std::size_t length) {
  const char *option;
  std::size_t option_length;
  for (const char *q = rule_options; next_rule_option(q, &option, &option_length);)
    if (option_length == length && std::memcmp(option, arg, length) == 0)
      return true;
  return false;
}

bool excluded_from_listing(const compilation &comp, const char *rule_options) {
  const char *exclusions = table(named_specs.multilib_exclusions_spec);
  for (const char *e = exclusions; *e;) {
    if (*e == '\n') {
      e++;
      continue;
    }
    bool all = true;
    while (*e != ';') {
      if (!*e)
        fatal_error(UNKNOWN_LOCATION, "multilib exclusion %qs is invalid", exclusions);
      if (!all) {
        e++;
        continue;
      }
      const char *end;
      if (!scan_option(e, &end))
        fatal_error(UNKNOWN_LOCATION, "multilib exclusion %qs is invalid", exclusions);
      std::size_t length = static_cast<std::size_t>(end - e);
      all = rule_lists_option(rule_options, e, length) ||
            multilib_option_default(comp, e, length);
      e = end;
      if (*e == ' ')
        e++;
    }
    if (all)
      return true;
    e++;
  }
  return false;
}

// Every non-negated option is a default, some option is, and no negated
// one is: the variant is the default one and is not listed.
bool only_default_options(const compilation &comp, const char *rule_options) {
  bool default_seen = false;
  const char *option;
  std::size_t length;
  for (const char *q = rule_options; next_rule_option(q, &option, &length);) {
    bool negated = *option == '!';
    if (multilib_option_default(comp, option + negated, length - negated)) {
      if (negated)
        return false;
      default_seen = true;
    } else if (!negated) {
      return false;
    }
  }
  return default_seen;
}

// A listing rule must end with ";".
void check_rule_end(const char *rule_options, const char *multilib) {
  for (const char *q = rule_options; *q != ';'; q++)
    if (!*q)
      fatal_error(UNKNOWN_LOCATION, "multilib select %qs is invalid", multilib);
}

} // namespace

void init_multilib_tables() {
  named_specs.multilib_spec = ". ;";
  named_specs.multilib_defaults_spec = "mabi=lp64";
  named_specs.multilib_matches_spec = "";
  named_specs.multilib_exclusions_spec = "";
  named_specs.multilib_reuse_spec = "";
}

void settle_sysroot_suffixes(spec_interpreter &in) {
  compilation &comp = in.comp;
  const std::vector<const char *> &words = in.args.buffer;
  bool suffixes_allowed = !comp.options.x_no_sysroot_suffix;

  const char *suffix_spec = named_specs.sysroot_suffix_spec;
  if (suffixes_allowed && suffix_spec && *suffix_spec && in.expand_spec(suffix_spec) == 0) {
    if (words.size() > 1)
      error_noloc("spec failure: more than one argument to %<SYSROOT_SUFFIX_SPEC%>");
    else if (words.size() == 1)
      comp.sysroot_suffix = xstrdup(words[0]);
  }

  if (comp.sysroot_dir) {
    named_spec *link = lookup_spec("link");
    const char *old = link && *link->value_slot ? *link->value_slot : "";
    char *value = concat("%(sysroot_spec) ", old, nullptr);
    define_spec("link", value, false);
    std::free(value);
  }

  // Read only now: expanding the first suffix spec may have read specs.
  const char *hdrs_suffix_spec = named_specs.sysroot_hdrs_suffix_spec;
  if (suffixes_allowed && hdrs_suffix_spec && *hdrs_suffix_spec &&
      in.expand_spec(hdrs_suffix_spec) == 0) {
    if (words.size() > 1)
      error_noloc("spec failure: more than one argument to %<SYSROOT_HEADERS_SUFFIX_SPEC%>");
    else if (words.size() == 1)
      comp.sysroot_hdrs_suffix = xstrdup(words[0]);
  }
}

bool multilib_option_default(const compilation &comp, const char *text, std::size_t length) {
  return contains(comp.multilib.default_options, text, length);
}

bool multilib_option_used(compilation &comp, const char *text, std::size_t length) {
  // While the cache is being built, the recursive questions of the
  // defaults are answered from what it holds so far.
  if (comp.multilib.implied_state == cache_state::empty)
    build_implied_options(comp);
  return contains(comp.multilib.implied_options, text, length);
}

void select_multilib(compilation &comp) {
  multilib_dirs &chosen = comp.search.multilib;
  parse_default_options(comp.multilib.default_options);

  const char *exclusions = table(named_specs.multilib_exclusions_spec);
  for (const char *p = exclusions; *p;) {
    if (*p == '\n') {
      p++;
      continue;
    }
    if (exclusion_holds(comp, &p, exclusions))
      return;
  }

  const char *multilib = table(named_specs.multilib_spec);
  const char *reuse = table(named_specs.multilib_reuse_spec);
  std::string rules = multilib;
  rules += reuse;

  bool accepted = false;
  for (const char *p = rules.c_str(); *p;) {
    if (*p == '\n') {
      p++;
      continue;
    }
    const char *path = p;
    while (*p != ' ') {
      if (!*p)
        fatal_error(UNKNOWN_LOCATION, "multilib select %qs %qs is invalid", multilib, reuse);
      p++;
    }
    std::size_t path_length = static_cast<std::size_t>(p - path);
    p++;

    bool ok = true;
    bool all_given = true;
    while (*p != ';') {
      if (!*p)
        fatal_error(UNKNOWN_LOCATION, "multilib select %qs %qs is invalid", multilib, reuse);
      if (!ok) {
        p++;
        continue;
      }
      bool negated = *p == '!';
      const char *arg = negated ? p + 1 : p;
      const char *end;
      if (!scan_option(arg, &end))
        fatal_error(UNKNOWN_LOCATION, "multilib select %qs %qs is invalid", multilib, reuse);
      std::size_t length = static_cast<std::size_t>(end - arg);
      ok = multilib_option_used(comp, arg, length) != negated;
      if (!ok)
        all_given = false;
      // A default option never rules a variant out.
      if (multilib_option_default(comp, arg, length))
        ok = true;
      p = end;
      if (*p == ' ')
        p++;
    }
    p++;

    if (ok && !accepted) {
      if (!(path_length == 1 && path[0] == '.')) {
        const char *colon = static_cast<const char *>(std::memchr(path, ':', path_length));
        chosen.dir =
            xstrndup(path, colon ? static_cast<std::size_t>(colon - path) : path_length);
      }
      accepted = true;
    }
    if (all_given && std::memchr(path, ':', path_length)) {
      set_os_and_multiarch_dirs(chosen, path, path_length);
      break;
    }
  }

  chosen.dir = target_multilib_dir(chosen.dir);

  if (!chosen.dir && chosen.os_dir && std::strcmp(chosen.os_dir, ".") == 0)
    chosen.os_dir = nullptr;
  else if (chosen.dir && !chosen.os_dir)
    chosen.os_dir = chosen.dir;
}

void print_multilib_listing(compilation &comp, std::FILE *stream) {
  const char *multilib = table(named_specs.multilib_spec);
  const char *extra = table(named_specs.multilib_extra_spec);
  std::string out;
  const char *last_path = nullptr;
  std::size_t last_path_length = 0;

  for (const char *p = multilib; *p;) {
    if (*p == '\n') {
      p++;
      continue;
    }
    const char *path = p;
    while (*p != ' ') {
      if (!*p)
        fatal_error(UNKNOWN_LOCATION, "multilib select %qs is invalid", multilib);
      p++;
    }
    std::size_t path_length = static_cast<std::size_t>(p - path);
    const char *options = p + 1;
    check_rule_end(options, multilib);

    // Rules ".:DIR" only name OS directories.
    bool skip = path[0] == '.' && path_length > 1 && path[1] == ':' &&
                !(path_length > 2 && path[2] == ':');
    if (!skip)
      skip = excluded_from_listing(comp, options);
    if (!skip) {
      skip = last_path && last_path_length == path_length &&
             std::memcmp(last_path, path, path_length) == 0;
      last_path = path;
      last_path_length = path_length;
    }
    if (!skip)
      skip = only_default_options(comp, options);

    if (!skip) {
      const char *colon = static_cast<const char *>(std::memchr(path, ':', path_length));
      out.append(path, colon ? static_cast<std::size_t>(colon - path) : path_length);
      out += ';';
      const char *option;
      std::size_t length;
      for (const char *q = options; next_rule_option(q, &option, &length);) {
        if (*option != '!') {
          out += '@';
          out.append(option, length);
        }
      }
      bool at_word_start = true;
      for (const char *q = extra; *q; q++) {
        if (*q == ' ') {
          at_word_start = true;
          continue;
        }
        if (at_word_start)
          out += '@';
        out += *q;
        at_word_start = false;
      }
      out += '\n';
    }

    p = std::strchr(options, ';') + 1;
  }
  std::fwrite(out.data(), 1, out.size(), stream);
}
