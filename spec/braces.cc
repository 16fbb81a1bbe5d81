// Conditional groups: the grammar of %{...}, ordered lists, alternatives
// and N-way choices, substitution bodies, switch matching and liveness,
// and writing a switch back as arguments.
#include "spec/braces.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"
#include "support/text.h"

namespace {

[[noreturn]] void invalid_at(const char *group, const char *at) {
  fatal_error(UNKNOWN_LOCATION, "braced spec %qs is invalid at %qc", group, *at);
}

// Mark the live switches that one term of an ordered list names, and note
// the newly marked ones in MARKED.
void mark_matching_switches(switch_list &switches, const std::string &atom, bool starred,
                            std::vector<int> &marked) {
  int length = static_cast<int>(atom.size());
  switches.any_named(atom.c_str(), atom.size(), !starred, [&](int i) {
    // Asked even when marked already: the answer may be recorded for later.
    if (switch_is_live(switches, i, starred ? length : -1) && !switches[i].order_marked) {
      switches[i].order_marked = true;
      marked.push_back(i);
    }
    return false;
  });
}

// Write the MARKED switches in command-line order, each once: the cost is
// that of the matches, not of the whole list.
void emit_marked_switches(spec_interpreter &in, std::vector<int> &marked) {
  switch_list &switches = in.comp.switches;
  if (marked.size() > 1)
    std::sort(marked.begin(), marked.end());
  for (int i : marked) {
    switches[i].order_marked = false;
    in.emit_switch(i, false);
  }
}

// The pieces of one group, in reading order: the kept ones while they
// last, then from the text (kept too, until a function term).
class piece_source {
public:
  // A group is kept from its second reading on: most groups are read
  // once, for one input.
  piece_source(spec_interpreter &in, const char *group)
      : group_(group), enclosing_(in.current_body),
        kept_(in.group_texts.find(group, enclosing_.lasting && enclosing_.holds(group))),
        from_text_(!kept_.read_before) {
    kept_.read_before = true;
  }

  // Where the next term starts, blanks skipped.
  std::size_t term_start() {
    if (from_kept())
      return kept_.pieces[next_]->at;
    return skip_blanks(group_, offset_);
  }
  // The term at term_start() with its separator (not for a function
  // term: see after_function).
  const group_piece &term() {
    if (from_kept())
      return take_kept();
    group_piece piece;
    read_term_piece(group_, skip_blanks(group_, offset_), piece);
    if (piece.term.function)
      piece.next = piece.function_at;
    return add(std::move(piece));
  }
  // FUNCTION, a function term whose call ended at AFTER, with the
  // separator after the call.
  const group_piece &after_function(const group_piece &function, const char *after) {
    from_text_ = true;
    group_piece piece = function;
    read_separator(group_, static_cast<std::size_t>(after - group_), piece);
    return add(std::move(piece));
  }
  const group_piece &body() {
    if (from_kept())
      return take_kept();
    group_piece piece;
    read_body_piece(group_, offset_, piece, &enclosing_);
    return add(std::move(piece));
  }
  // The position after the piece read last.
  const char *position() const { return group_ + offset_; }

private:
  bool from_kept() const { return !from_text_ && next_ < kept_.pieces.size(); }
  const group_piece &take_kept() {
    const group_piece &piece = *kept_.pieces[next_++];
    offset_ = piece.next;
    return piece;
  }
  const group_piece &add(group_piece &&piece) {
    offset_ = piece.next;
    if (from_text_ || kept_.closed) {
      from_text_ = true;
      // Only the piece read last is in use (a function term is copied into
      // the piece after it): two places suffice.
      std::optional<group_piece> &place = unkept_[flip_ ^= 1];
      place = std::move(piece);
      return *place;
    }
    next_++;
    kept_.closed = piece.term.function;
    return kept_.keep(group_, std::move(piece));
  }

  const char *group_;
  body_text enclosing_;  // the body the group is in, if any
  group_pieces &kept_;
  std::size_t next_ = 0;    // the next kept piece
  std::size_t offset_ = 0;  // the offset after the piece read last
  bool from_text_;          // nothing more is kept for this reading
  std::optional<group_piece> unkept_[2];
  int flip_ = 0;
};

// The state of one group while it is read: which kinds of separator have
// been seen, and whether the alternative being read (or an earlier one of
// an N-way choice) matched.
struct group_reader {
  spec_interpreter &in;
  const char *group;              // the text after "{", for messages
  piece_source pieces{in, group};
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
  std::vector<int> marked;    // switches an ordered list names

  bool term_is_true(const group_term &t) {
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
  // records whether the alternative matched.  RETURNED: what a function
  // term's call answered.
  void alternative_term(const group_term &t, bool returned, char separator, const char *at) {
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
      result = returned;
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

  // The body of the group being interpreted innermost, while it is.
  class body_scope {
  public:
    body_scope(spec_interpreter &in, const group_piece &body, const std::string &text)
        : in_(in), outer_(in.current_body) {
      in.current_body = {text.c_str(), text.size(), &body.braces, body.body_copied};
    }
    ~body_scope() { in_.current_body = outer_; }
    body_scope(const body_scope &) = delete;
    body_scope &operator=(const body_scope &) = delete;

  private:
    spec_interpreter &in_;
    body_text outer_;
  };

  // Interpret a substitution body once for every live switch that begins
  // with the matching atom, with the rest of the switch text as %*.
  bool run_substitution(const group_piece &body, const std::string &text) {
    switch_list &switches = in.comp.switches;
    int length = static_cast<int>(matching_atom.size());
    bool failed = switches.any_named(matching_atom.c_str(), matching_atom.size(), false, [&](int i) {
      const char *switch_text = switches[i].text;
      if (!switch_is_live(switches, i, length))
        return false;
      provenance_scope copy(in.trace, text.c_str(), group + body.at);
      switch_scope from(in.trace, i);
      body_scope running(in, body, text);
      if (in.do_spec_1(text.c_str(), false, switch_text + length) < 0)
        return true;
      in.emit_switch(i, true);
      in.args.suffix_substitute = nullptr;
      return false;
    });
    return !failed;
  }

  // The text of BODY: its kept copy, or a copy made now in SCRATCH.
  const std::string &body_text(const group_piece &body, std::string &scratch) const {
    if (body.body_copied)
      return body.body;
    scratch.assign(group + body.at, body.body_end - body.at);
    return scratch;
  }

  // The body of the alternative just read; false when it failed.
  bool take_body(const group_piece &body) {
    std::string scratch;
    if (body.substitution && (!alt_all_starred || alt_otherwise))
      invalid_body(body_text(body, scratch).c_str());
    if (!alt_matched || n_way_matched)
      return true;
    const std::string &text = body_text(body, scratch);
    if (body.substitution)
      return run_substitution(body, text);
    provenance_scope copy(in.trace, text.c_str(), group + body.at);
    body_scope running(in, body, text);
    return in.do_spec_1(text.c_str(), false, nullptr) >= 0;
  }

  void next_alternative() {
    n_way = true;
    alt_matched = false;
    alt_all_starred = true;
    alt_otherwise = false;
    matching_atom.clear();
  }

  // The next term with its separator; null when a function term failed.
  const group_piece *read_term(bool *returned) {
    std::size_t at = pieces.term_start();
    if (otherwise_seen)
      invalid_at(group, group + at);
    const group_piece *piece = &pieces.term();
    if (!piece->term.function)
      return piece;
    const char *after = in.call_spec_function(group + piece->function_at, returned, nullptr);
    if (!after)
      return nullptr;
    return &pieces.after_function(*piece, after);
  }

  const char *read() {
    for (;;) {
      bool returned = false;
      const group_piece *piece = read_term(&returned);
      if (!piece)
        return nullptr;
      const group_term &t = piece->term;
      const char *separator = group + piece->separator_at;
      char c = piece->separator;
      if (c == '&' || c == '}') {
        if (t.negated || t.suffix_test || t.language_test || t.function || t.atom.empty() ||
            alternative_seen)
          invalid_at(group, separator);
        ordered_seen = true;
        mark_matching_switches(in.comp.switches, t.atom, t.starred, marked);
        if (c == '}') {
          emit_marked_switches(in, marked);
          return pieces.position();
        }
        continue;
      }
      if (c != '|' && c != ':')
        invalid_at(group, separator);

      alternative_term(t, returned, c, separator);
      if (c == '|')
        continue;

      const group_piece &body = pieces.body();
      if (!take_body(body))
        return nullptr;
      if (alt_matched)
        n_way_matched = true;
      if (body.ending == '}')
        return pieces.position();
      next_alternative();
    }
  }
};

} // namespace

const char *spec_interpreter::process_braces(const char *p) {
  group_reader reader{*this, p};
  return reader.read();
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
