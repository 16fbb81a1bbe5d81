// Switch tests of the groups: whether a switch is live, whether a group's
// atom matches some live switch (with the two-word -D/-U rule), and
// writing a switch back as arguments.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "spec/braces.h"
#include "spec/interpreter.h"

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
      switches.note_change();
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
      switches.note_change();
      return false;
    }
    break;
  }

  default:
    break;
  }

  sw.liveness = live_yes;
  switches.note_change();
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
  // Most questions are about switches nobody gave.
  if (length > 0 && switches.last_with_lead(atom[0]) < 0)
    return false;
  if (length == 0 || (atom[0] != 'D' && atom[0] != 'U'))
    return switches.any_named(atom, n, !starred, [&](int i) {
      const saved_switch &sw = switches[i];
      return std::strncmp(sw.text, atom, n) == 0 && (starred || sw.text[n] == '\0') &&
             switch_is_live(switches, i, starred ? length : -1);
    });

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
