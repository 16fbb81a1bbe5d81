// Conditional groups: the grammar of %{...}, ordered lists, alternatives
// and N-way choices, substitution bodies, switch matching and liveness,
// and writing a switch back as arguments.
#include "spec/braces.h"

#include <cstring>
#include <string>

#include "diagnostics/diagnostic.h"
#include "driver/compilers.h"
#include "driver/switches.h"
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
void mark_matching_switches(const char *atom, int length, bool starred) {
  for (int i = 0; i < saved_switch_count; i++) {
    saved_switch &sw = saved_switches[i];
    if (std::strncmp(sw.text, atom, static_cast<std::size_t>(length)) == 0 &&
        (starred || sw.text[length] == '\0') && switch_is_live(i, starred ? length : -1))
      sw.order_marked = true;
  }
}

// Write the marked switches in command-line order, each once.
void emit_marked_switches() {
  for (int i = 0; i < saved_switch_count; i++) {
    if (!saved_switches[i].order_marked)
      continue;
    saved_switches[i].order_marked = false;
    emit_switch(i, false);
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

bool term_is_true(const term &t) {
  if (t.suffix_test)
    return input_suffix && t.atom == input_suffix;
  if (t.language_test)
    return current_compiler && current_compiler->key && current_compiler->key[0] &&
           t.atom == current_compiler->key + 1;
  return switch_matches(t.atom.c_str(), static_cast<int>(t.atom.size()), t.starred);
}

// Interpret a substitution body once for every live switch that begins
// with ATOM, with the rest of the switch text as %*.
bool run_substitution(const std::string &body, const std::string &atom) {
  int length = static_cast<int>(atom.size());
  for (int i = 0; i < saved_switch_count; i++) {
    const char *text = saved_switches[i].text;
    if (std::strncmp(text, atom.c_str(), atom.size()) != 0 || !switch_is_live(i, length))
      continue;
    if (do_spec_1(body.c_str(), false, text + length) < 0)
      return false;
    emit_switch(i, true);
    suffix_substitute = nullptr;
  }
  return true;
}

} // namespace

const char *process_braces(const char *p) {
  const char *group = p;
  bool ordered_seen = false;      // a term ended by "&" or "}"
  bool alternative_seen = false;  // a term ended by "|" or ":"
  bool n_way = false;             // a body ended by ";"
  bool n_way_matched = false;     // some earlier alternative matched
  bool otherwise_seen = false;    // the empty last alternative

  // State of the alternative being read.
  bool alt_matched = false;
  bool alt_all_starred = true;
  bool alt_otherwise = false;
  std::string matching_atom;  // atom of the first term that matched

  for (;;) {
    p = skip_blanks(p);
    if (otherwise_seen)
      invalid_at(group, p);

    term t;
    if (*p == '!') {
      t.negated = true;
      p = skip_blanks(p + 1);
    }

    if (p[0] == '%' && p[1] == ':') {
      t.function = true;
      p = call_spec_function(p + 2, &t.function_returned, nullptr);
      if (!p)
        return nullptr;
    } else {
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
    }
    p = skip_blanks(p);

    const char *separator = p;
    char c = *p++;
    switch (c) {
    case '&':
    case '}':
      if (t.negated || t.suffix_test || t.language_test || t.function || t.atom.empty() ||
          alternative_seen)
        invalid_at(group, separator);
      ordered_seen = true;
      mark_matching_switches(t.atom.c_str(), static_cast<int>(t.atom.size()), t.starred);
      if (c == '}') {
        emit_marked_switches();
        return p;
      }
      continue;

    case '|':
    case ':':
      break;

    default:
      invalid_at(group, separator);
    }

    // An alternative term.
    if (ordered_seen)
      invalid_at(group, separator);
    alternative_seen = true;
    if (t.starred && (t.suffix_test || t.language_test))
      invalid_at(group, separator);

    if (!t.function && t.atom.empty()) {
      // "Otherwise": only as the last alternative of an N-way choice.
      if (!n_way || t.negated || t.starred || t.suffix_test || t.language_test || c == '|')
        invalid_at(group, separator);
      alt_otherwise = true;
      otherwise_seen = true;
      if (!n_way_matched)
        alt_matched = true;
    } else {
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

    if (c == '|')
      continue;

    // The body: up to ";" or "}" at depth 1.
    const char *body_start = p;
    bool substitution = false;
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
        substitution = true;
      }
    }
    const char *body_end = p;
    while (body_end > body_start && is_blank(body_end[-1]))
      body_end--;
    std::string body(body_start, static_cast<std::size_t>(body_end - body_start));
    char ending = *p++;

    if (substitution && (!alt_all_starred || alt_otherwise))
      invalid_body(body.c_str());

    if (alt_matched && !n_way_matched) {
      if (substitution) {
        if (!run_substitution(body, matching_atom))
          return nullptr;
      } else if (do_spec_1(body.c_str(), false, nullptr) < 0) {
        return nullptr;
      }
    }
    if (alt_matched)
      n_way_matched = true;

    if (ending == '}')
      return p;

    n_way = true;
    alt_matched = false;
    alt_all_starred = true;
    alt_otherwise = false;
    matching_atom.clear();
  }
}

bool switch_is_live(int index, int prefix_length) {
  saved_switch &sw = saved_switches[index];
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
    for (int j = index + 1; j < saved_switch_count; j++) {
      if (saved_switches[j].text[0] == 'O') {
        sw.claimed = true;
        sw.liveness = live_no;
        return false;
      }
    }
    break;

  case 'W':
  case 'f':
  case 'm':
  case 'g': {
    bool negative = std::strncmp(name + 1, "no-", 3) == 0;
    for (int j = index + 1; j < saved_switch_count; j++) {
      const char *later = saved_switches[j].text;
      if (later[0] != name[0])
        continue;
      bool overrides = negative ? std::strcmp(later + 1, name + 4) == 0
                                : std::strncmp(later + 1, "no-", 3) == 0 &&
                                      std::strcmp(later + 4, name + 1) == 0;
      if (overrides) {
        if (sw.recognised)
          sw.claimed = true;
        sw.liveness = live_no;
        return false;
      }
    }
    break;
  }

  default:
    break;
  }

  sw.liveness = live_yes;
  return true;
}

bool switch_matches(const char *atom, int length, bool starred) {
  std::size_t n = static_cast<std::size_t>(length);
  for (int i = 0; i < saved_switch_count; i++) {
    const saved_switch &sw = saved_switches[i];
    if (std::strncmp(sw.text, atom, n) == 0 && (starred || sw.text[n] == '\0') &&
        switch_is_live(i, starred ? length : -1))
      return true;

    // -D and -U given as two words: %{DFOO:...} matches -D FOO.
    if (length >= 1 && sw.arguments && sw.arguments[0] &&
        (sw.text[0] == 'D' || sw.text[0] == 'U') && atom[0] == sw.text[0] &&
        std::strncmp(sw.arguments[0], atom + 1, n - 1) == 0) {
      if (starred) {
        if (switch_is_live(i, 1))
          return true;
      } else if (sw.text[1] == '\0' && sw.arguments[0][n - 1] == '\0' &&
                 switch_is_live(i, -1)) {
        return true;
      }
    }
  }
  return false;
}

void emit_switch(int index, bool omit_name) {
  saved_switch &sw = saved_switches[index];
  if (sw.liveness & live_removed)
    return;

  if (!omit_name) {
    // Appended directly (not interpreted) so that the name stays one
    // argument with its "-" even inside spec-function arguments.
    arg_text.append_char('-');
    arg_text.append(sw.text);
    arg_pending = true;
  }

  if (sw.arguments) {
    for (const char *const *arg = sw.arguments; *arg; arg++) {
      do_spec_1(" ", false, nullptr);
      if (suffix_substitute) {
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
        replaced += suffix_substitute;
        do_spec_1(replaced.c_str(), true, nullptr);
      } else {
        do_spec_1(*arg, true, nullptr);
      }
    }
  }

  do_spec_1(" ", false, nullptr);
  sw.claimed = true;
}
