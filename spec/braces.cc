// Conditional groups: the grammar of %{...}, ordered lists, alternatives
// and N-way choices, substitution bodies, switch matching and liveness,
// and writing a switch back as arguments.
#include "spec/braces.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"
#include "support/text.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_atom_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '+' || c == ',' || c == '-' || c == '.' || c == '=' || c == '@' ||
         c == '\\';
}

const char *skip_blanks(const char *p) {
  while (is_blank(*p))
    p++;
  return p;
}

[[noreturn]] void invalid_at(const char *group, const char *at) {
  fatal_error(UNKNOWN_LOCATION, "braced spec %qs is invalid at %qc", group, *at);
}

[[noreturn]] void invalid_body(const char *body) {
  fatal_error(UNKNOWN_LOCATION, "braced spec body %qs is invalid", body);
}

// Mark the live switches that one term of an ordered list names.
void mark_matching_switches(switch_list &switches, const std::string &atom, bool starred) {
  int length = static_cast<int>(atom.size());
  for (int i : switches.named(atom.c_str(), atom.size(), !starred))
    if (switch_is_live(switches, i, starred ? length : -1))
      switches[i].order_marked = true;
}

// Write the marked switches in command-line order, each once.
void emit_marked_switches(spec_interpreter &in) {
  switch_list &switches = in.comp.switches;
  for (int i = 0; i < switches.count(); i++) {
    if (!switches[i].order_marked)
      continue;
    switches[i].order_marked = false;
    in.emit_switch(i, false);
  }
}

// One term of a group: an atom or a spec-function call.
struct term {
  bool negated = false;
  bool suffix_test = false;    // ".c"
  bool language_test = false;  // ",c++"
  bool function = false;       // %:f(...)
  bool function_returned = false;
  bool starred = false;
  std::string atom;
};

// The state of one group while it is read: which kinds of separator have
// been seen, and whether the alternative being read (or an earlier one of
// an N-way choice) matched.
struct group_reader {
  spec_interpreter &in;
  const char *group;              // the text after "{", for messages
  bool ordered_seen = false;      // a term ended by "&" or "}"
  bool alternative_seen = false;  // a term ended by "|" or ":"
  bool n_way = false;             // a body ended by ";"
  bool n_way_matched = false;     // some earlier alternative matched
  bool otherwise_seen = false;    // the empty last alternative

  // The alternative being read.
  bool alt_matched = false;
  bool alt_all_starred = true;
  bool alt_otherwise = false;
  std::string matching_atom;  // atom of the first term that matched
  const char *body_origin = nullptr;  // where the last body read starts in the spec

  // The term at P into T; the position after it, or null when a function
  // term failed.
  const char *read_term(const char *p, term &t) {
    if (*p == '!') {
      t.negated = true;
      p = skip_blanks(p + 1);
    }
    if (p[0] == '%' && p[1] == ':') {
      t.function = true;
      return in.call_spec_function(p + 2, &t.function_returned, nullptr);
    }
    if (*p == '.') {
      t.suffix_test = true;
      p++;
    } else if (*p == ',') {
      t.language_test = true;
      p++;
    }
    while (is_atom_char(*p)) {
      if (*p == '\\') {
        p++;
        if (!*p)
          fatal_error(UNKNOWN_LOCATION, "braced spec %qs ends in escape", group);
      }
      t.atom += *p++;
    }
    if (*p == '*') {
      t.starred = true;
      p++;
    }
    return p;
  }

  bool term_is_true(const term &t) {
    if (t.suffix_test)
      return in.input.suffix && t.atom == in.input.suffix;
    if (t.language_test) {
      const compiler_entry *row = in.input.compiler;
      return row && row->key && row->key[0] && t.atom == row->key + 1;
    }
    return switch_matches(in.comp.switches, t.atom.c_str(), static_cast<int>(t.atom.size()),
                          t.starred);
  }

  // A term ended by "|" or ":" (SEPARATOR at AT): checks the grammar and
  // records whether the alternative matched.
  void alternative_term(const term &t, char separator, const char *at) {
    if (ordered_seen)
      invalid_at(group, at);
    alternative_seen = true;
    if (t.starred && (t.suffix_test || t.language_test))
      invalid_at(group, at);

    if (!t.function && t.atom.empty()) {
      // "Otherwise": only as the last alternative of an N-way choice.
      if (!n_way || t.negated || t.starred || t.suffix_test || t.language_test ||
          separator == '|')
        invalid_at(group, at);
      alt_otherwise = true;
      otherwise_seen = true;
      if (!n_way_matched)
        alt_matched = true;
      return;
    }
    if (!t.starred)
      alt_all_starred = false;
    bool result = false;
    bool tested = false;
    if (t.function) {
      result = t.function_returned;
      tested = true;
    } else if (!alt_matched && !n_way_matched) {
      result = term_is_true(t);
      tested = true;
    }
    if (tested && !alt_matched && !n_way_matched && result != t.negated) {
      alt_matched = true;
      matching_atom = t.atom;
    }
  }

  // The body at P, up to ";" or "}" at depth 1, without trailing blanks.
  // *SUBSTITUTION tells whether it holds %* at its own depth, *ENDING the
  // character that ended it; returns the position after that character.
  const char *read_body(const char *p, std::string &body, bool *substitution, char *ending) {
    const char *body_start = p;
    body_origin = p;
    int depth = 1;
    for (;; p++) {
      char b = *p;
      if (!b)
        invalid_body(body_start);
      if (b == '{') {
        depth++;
      } else if (b == '}') {
        if (--depth == 0)
          break;
      } else if (b == ';' && depth == 1) {
        break;
      } else if (b == '%' && p[1] == '*' && depth == 1) {
        *substitution = true;
      }
    }
    const char *body_end = p;
    while (body_end > body_start && is_blank(body_end[-1]))
      body_end--;
    body.assign(body_start, static_cast<std::size_t>(body_end - body_start));
    *ending = *p;
    return p + 1;
  }

  // Interpret a substitution body once for every live switch that begins
  // with the matching atom, with the rest of the switch text as %*.
  bool run_substitution(const std::string &body) {
    switch_list &switches = in.comp.switches;
    int length = static_cast<int>(matching_atom.size());
    for (int i : switches.named(matching_atom.c_str(), matching_atom.size(), false)) {
      const char *text = switches[i].text;
      if (!switch_is_live(switches, i, length))
        continue;
      provenance_scope copy(in.trace, body.c_str(), body_origin);
      switch_scope from(in.trace, i);
      if (in.do_spec_1(body.c_str(), false, text + length) < 0)
        return false;
      in.emit_switch(i, true);
      in.args.suffix_substitute = nullptr;
    }
    return true;
  }

  // The body of the alternative just read; false when it failed.
  bool take_body(const std::string &body, bool substitution) {
    if (substitution && (!alt_all_starred || alt_otherwise))
      invalid_body(body.c_str());
    if (!alt_matched || n_way_matched)
      return true;
    if (substitution)
      return run_substitution(body);
    provenance_scope copy(in.trace, body.c_str(), body_origin);
    return in.do_spec_1(body.c_str(), false, nullptr) >= 0;
  }

  void next_alternative() {
    n_way = true;
    alt_matched = false;
    alt_all_starred = true;
    alt_otherwise = false;
    matching_atom.clear();
  }

  const char *read(const char *p) {
    for (;;) {
      p = skip_blanks(p);
      if (otherwise_seen)
        invalid_at(group, p);

      term t;
      p = read_term(p, t);
      if (!p)
        return nullptr;
      p = skip_blanks(p);

      const char *separator = p;
      char c = *p++;
      if (c == '&' || c == '}') {
        if (t.negated || t.suffix_test || t.language_test || t.function || t.atom.empty() ||
            alternative_seen)
          invalid_at(group, separator);
        ordered_seen = true;
        mark_matching_switches(in.comp.switches, t.atom, t.starred);
        if (c == '}') {
          emit_marked_switches(in);
          return p;
        }
        continue;
      }
      if (c != '|' && c != ':')
        invalid_at(group, separator);

      alternative_term(t, c, separator);
      if (c == '|')
        continue;

      std::string body;
      bool substitution = false;
      char ending;
      p = read_body(p, body, &substitution, &ending);
      if (!take_body(body, substitution))
        return nullptr;
      if (alt_matched)
        n_way_matched = true;
      if (ending == '}')
        return p;
      next_alternative();
    }
  }
};

} // namespace

const char *spec_interpreter::process_braces(const char *p) {
  group_reader reader{*this, p};
  return reader.read(p);
}

bool switch_is_live(switch_list &switches, int index, int prefix_length) {
  saved_switch &sw = switches[index];
  if (sw.liveness != 0)
    return (sw.liveness & (live_yes | live_no | live_removed_by_self_spec)) == live_yes;

  // For groups such as %{W*} a negating switch always matches too: both
  // are passed on and nothing is recorded.  The rule holds for "O" as
  // well, so %{O*} with -O2 -O0 writes both (the compiler proper takes the
  // last one); only a test of a longer prefix, such as %{O2:...}, finds
  // -O2 overridden and records it.
  if (prefix_length == 0 || prefix_length == 1)
    return true;

  const char *name = sw.text;
  switch (name[0]) {
  case 'O':
    // Any later -O overrides.
    if (switches.last_with_lead('O') > index) {
      sw.claimed = true;
      sw.liveness = live_no;
      return false;
    }
    break;

  case 'W':
  case 'f':
  case 'm':
  case 'g': {
    // -Wno-X is overridden by a later -WX, -WX by a later -Wno-X.
    bool negative = std::strncmp(name + 1, "no-", 3) == 0;
    bool overridden = negative ? switches.named_after(index, name[0], name + 4)
                               : switches.named_after(index, name[0],
                                                      (std::string("no-") + (name + 1)).c_str());
    if (overridden) {
      if (sw.recognised)
        sw.claimed = true;
      sw.liveness = live_no;
      return false;
    }
    break;
  }

  default:
    break;
  }

  sw.liveness = live_yes;
  return true;
}

namespace {

// Positions in either list, in increasing order, each once.
std::vector<int> merged(std::vector<int> a, const std::vector<int> &b) {
  if (b.empty())
    return a;
  std::vector<int> both;
  both.reserve(a.size() + b.size());
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
  return both;
}

} // namespace

bool switch_matches(switch_list &switches, const char *atom, int length, bool starred) {
  std::size_t n = static_cast<std::size_t>(length);
  std::vector<int> candidates = switches.named(atom, n, !starred);
  // -D and -U given as two words: %{DFOO:...} matches -D FOO.
  if (length >= 1 && (atom[0] == 'D' || atom[0] == 'U'))
    candidates = merged(std::move(candidates),
                        switches.named_by_argument(atom[0], atom + 1, n - 1, !starred));

  // The candidates are tested in command-line order, as liveness records
  // what it finds.
  for (int i : candidates) {
    const saved_switch &sw = switches[i];
    if (std::strncmp(sw.text, atom, n) == 0 && (starred || sw.text[n] == '\0') &&
        switch_is_live(switches, i, starred ? length : -1))
      return true;

    if (length >= 1 && (atom[0] == 'D' || atom[0] == 'U') && sw.text[0] == atom[0] &&
        sw.arguments && sw.arguments[0] &&
        std::strncmp(sw.arguments[0], atom + 1, n - 1) == 0) {
      if (starred) {
        if (switch_is_live(switches, i, 1))
          return true;
      } else if (sw.text[1] == '\0' && sw.arguments[0][n - 1] == '\0' &&
                 switch_is_live(switches, i, -1)) {
        return true;
      }
    }
  }
  return false;
}

void spec_interpreter::emit_switch(int index, bool omit_name) {
  saved_switch &sw = comp.switches[index];
  if (sw.liveness & live_removed)
    return;
  switch_scope from(trace, index);

  if (!omit_name) {
    // Appended directly (not interpreted) so that the name stays one
    // argument with its "-" even inside spec-function arguments.
    args.text.append_char('-');
    args.text.append(sw.text);
    args.pending = true;
  }

  if (sw.arguments) {
    for (const char *const *arg = sw.arguments; *arg; arg++) {
      do_spec_1(" ", false, nullptr);
      if (args.suffix_substitute) {
        // Replace the suffix of the file name part (a dot after the last "/").
        std::size_t length = std::strlen(*arg);
        std::size_t cut = length;
        for (std::size_t k = length; k > 0; k--) {
          char ch = (*arg)[k - 1];
          if (ch == '/')
            break;
          if (ch == '.') {
            cut = k - 1;
            break;
          }
        }
        std::string replaced(*arg, cut);
        replaced += args.suffix_substitute;
        do_spec_1(replaced.c_str(), true, nullptr);
      } else {
        do_spec_1(*arg, true, nullptr);
      }
    }
  }

  do_spec_1(" ", false, nullptr);
  sw.claimed = true;
}
