// Claiming: every switch that some spec mentions in a group condition or a
// %< removal is marked as claimed, so that only the switches nobody takes
// are reported as unrecognised.
#include <cstring>

#include "compilation/switches.h"
#include "spec/braces.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_claim_atom_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '-' || c == '+' || c == '=' || c == ',' || c == '.' || c == '@';
}

const char *skip_blanks(const char *p) {
  while (is_blank(*p))
    p++;
  return p;
}

// Past the "}" that closes the group whose text starts at P (or the end).
const char *skip_group(const char *p) {
  int depth = 1;
  for (; *p; p++) {
    if (*p == '{')
      depth++;
    else if (*p == '}' && --depth == 0)
      return p + 1;
  }
  return p;
}

// Groups nested in bodies are scanned recursively.  A spec nested deeper
// than the interpreter accepts cannot be run, so the scan skips what lies
// deeper instead of using stack without bound.
constexpr int max_group_nesting = 200;

// One scan of a spec: the switches it claims, whether the spec is a user
// spec, and how deep the groups being scanned are nested.
struct claim_scan {
  switch_list &switches;
  bool user_set;
  int group_nesting = 0;
  int newly_claimed = 0;

  // One term: claims the switches its atom names.  *FUNCTION tells that
  // the term is a spec-function call (nothing claimed, the group scan
  // ends).
  const char *term(const char *p, bool *function) {
    p = skip_blanks(p);
    if (*p == '!')
      p = skip_blanks(p + 1);

    *function = p[0] == '%' && p[1] == ':';
    if (*function)
      return p;

    bool test = false;
    if (*p == '.' || *p == ',') {
      test = true;
      p++;
    }
    const char *atom = p;
    while (is_claim_atom_char(*p))
      p++;
    std::size_t length = static_cast<std::size_t>(p - atom);
    bool starred = *p == '*';
    if (starred)
      p++;
    p = skip_blanks(p);

    if (test || length == 0)
      return p;
    bool user = user_set;
    int &claimed = newly_claimed;
    switches.for_each_named(atom, length, !starred, [user, &claimed](saved_switch &sw) {
      if (!sw.claimed && (sw.recognised || user)) {
        sw.claimed = true;
        claimed++;
      }
    });
    return p;
  }

  const char *nested_group(const char *p) {
    if (group_nesting == max_group_nesting)
      return skip_group(p);
    ++group_nesting;
    p = group(p);
    --group_nesting;
    return p;
  }

  // Escapes that may mention switches, at P (a "%"); returns where to go
  // on.
  const char *escape(const char *p) {
    if (p[1] == '{')
      return nested_group(p + 2);
    if ((p[1] == 'W' || p[1] == '@') && p[2] == '{')
      return nested_group(p + 3);
    if (p[1] == '<') {
      bool function;
      return term(p + 2, &function);
    }
    // Any other escape (including "%%") is skipped whole.
    return p[1] ? p + 2 : p + 1;
  }

  // P is the text after "{"; returns the position after the group.
  const char *group(const char *p) {
    for (;;) {
      bool function;
      p = term(p, &function);
      if (function)
        return skip_group(p);  // bodies behind a function term claim nothing

      char c = *p;
      if (!c)
        return p;
      p++;
      if (c == '|' || c == '&')
        continue;
      if (c != ':')
        return p;

      // The body, with nested escapes, up to ";" or "}"; plain text is
      // skipped whole.
      for (p += std::strcspn(p, "%;}"); *p == '%'; p += std::strcspn(p, "%;}"))
        p = escape(p);
      c = *p;
      if (!c)
        return p;
      p++;
      if (c != ';')
        return p;
    }
  }
};

} // namespace

int claim_spec_switches(switch_list &switches, const char *spec, bool user_set) {
  if (!spec)
    return 0;
  claim_scan scan{switches, user_set};
  for (const char *p = std::strchr(spec, '%'); p; p = std::strchr(p, '%'))
    p = scan.escape(p);
  return scan.newly_claimed;
}
