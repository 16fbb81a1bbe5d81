// Spec functions that compare: version numbers of a switch's value against
// bounds, two numbers, and the debug level and DWARF version of the -g
// options against a number.
#include <cstdlib>
#include <cstring>

#include "diagnostics/diagnostic.h"
#include "compilation/compilation.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/spec-functions.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A signed decimal number; a text without digits is a bug in the spec
// that calls the function.
long parse_number(const char *text) {
  char *end = nullptr;
  long value = std::strtol(text, &end, 10);
  vrk_assert(end != text);
  return value;
}

// compare (V, A) of version-compare: both must be version numbers.
int checked_version_compare(const char *v, const char *a) {
  if (!is_version_number(v))
    fatal_error(UNKNOWN_LOCATION, "invalid version number %qs", v);
  if (!is_version_number(a))
    fatal_error(UNKNOWN_LOCATION, "invalid version number %qs", a);
  return compare_version_numbers(v, a);
}

} // namespace

// ^([1-9][0-9]*|0)(\.([1-9][0-9]*|0))*$
bool is_version_number(const char *text) {
  const char *p = text;
  for (;;) {
    if (!is_digit(*p))
      return false;
    if (*p == '0') {
      p++;
      if (is_digit(*p))
        return false;
    } else {
      while (is_digit(*p))
        p++;
    }
    if (*p == '\0')
      return true;
    if (*p != '.')
      return false;
    p++;
  }
}

int compare_version_numbers(const char *a, const char *b) {
  for (;;) {
    if (!*a || !*b)
      return (*a != '\0') - (*b != '\0');
    if (is_digit(*a) && is_digit(*b)) {
      const char *ea = a, *eb = b;
      while (is_digit(*ea))
        ea++;
      while (is_digit(*eb))
        eb++;
      // Runs of any length compare by magnitude, never through a machine
      // integer that could overflow.
      while (a + 1 < ea && *a == '0')
        a++;
      while (b + 1 < eb && *b == '0')
        b++;
      if (ea - a != eb - b)
        return ea - a < eb - b ? -1 : 1;
      int c = std::memcmp(a, b, static_cast<std::size_t>(ea - a));
      if (c != 0)
        return c < 0 ? -1 : 1;
      a = ea;
      b = eb;
      continue;
    }
    if (*a != *b)
      return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b) ? -1 : 1;
    a++;
    b++;
  }
}

const char *version_compare_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc < 3)
    fatal_error(UNKNOWN_LOCATION, "too few arguments to %%:version-compare");
  const char *op = argv[0];
  vrk_assert(op[0] != '\0');

  bool two_operands = (op[1] == '<' || op[1] == '>') && op[0] != '!';
  if (argc != (two_operands ? 5 : 4))
    fatal_error(UNKNOWN_LOCATION, "too many arguments to %%:version-compare");

  const char *switch_text = argv[two_operands ? 3 : 2];
  const char *result = argv[two_operands ? 4 : 3];
  std::size_t switch_length = std::strlen(switch_text);

  switch_list &switches = in.comp.switches;
  const char *value = nullptr;
  for (int i : switches.named(switch_text, switch_length, false))
    if (switch_is_live(switches, i, static_cast<int>(switch_length)))
      value = switches[i].text + switch_length;

  bool have_switch = value != nullptr;
  int c1 = -1, c2 = -1;
  if (have_switch) {
    c1 = checked_version_compare(value, argv[1]);
    if (two_operands)
      c2 = checked_version_compare(value, argv[2]);
  }

  bool holds;
  if (std::strcmp(op, ">=") == 0)
    holds = have_switch && c1 >= 0;
  else if (std::strcmp(op, "!>") == 0)
    holds = !have_switch || c1 < 0;
  else if (std::strcmp(op, "<") == 0)
    holds = !have_switch || c1 < 0;
  else if (std::strcmp(op, "!<") == 0)
    holds = !have_switch || c1 >= 0;
  else if (std::strcmp(op, "><") == 0)
    holds = have_switch && c1 >= 0 && c2 < 0;
  else if (std::strcmp(op, "<>") == 0)
    holds = !have_switch || c1 < 0 || c2 >= 0;
  else
    fatal_error(UNKNOWN_LOCATION, "unknown operator %qs in %%:version-compare", op);

  return holds ? result : nullptr;
}

const char *greater_than_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc != 0);
  // A single argument: the optional operand expanded to nothing.
  if (argc == 1)
    return nullptr;
  long a = parse_number(argv[argc - 2]);
  long b = parse_number(argv[argc - 1]);
  return a > b ? "" : nullptr;
}

const char *debug_level_greater_than_spec_function(spec_interpreter &in, int argc,
                                                   const char **argv) {
  if (argc != 1)
    fatal_error(UNKNOWN_LOCATION, "wrong number of arguments to %%:debug-level-gt");
  long n = parse_number(argv[0]);
  return in.comp.options.x_debug_info_level > n ? "" : nullptr;
}

const char *dwarf_version_greater_than_spec_function(spec_interpreter &in, int argc,
                                                     const char **argv) {
  if (argc != 1)
    fatal_error(UNKNOWN_LOCATION, "wrong number of arguments to %%:dwarf-version-gt");
  long n = parse_number(argv[0]);
  return in.comp.options.x_dwarf_version > n ? "" : nullptr;
}
