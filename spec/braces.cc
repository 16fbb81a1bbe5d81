// Conditional groups: the grammar of %{...}, ordered lists, alternatives
// and N-way choices, substitution bodies; read from text or from kept
// pieces.  The switch tests themselves are in switch-tests.cc.
#include "spec/braces.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"

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


// Whether the term T (no function term) holds for the input and switches.
bool term_is_true(spec_interpreter &in, const group_term &t) {
  if (t.suffix_test)
    return in.input.suffix && t.atom == in.input.suffix;
  if (t.language_test) {
    const compiler_entry *row = in.input.compiler;
    return row && row->key && row->key[0] && t.atom == row->key + 1;
  }
  switch_list &switches = in.comp.switches;
  if (t.answered_at != switches.generation()) {
    t.answer = switch_matches(switches, t.atom.c_str(), static_cast<int>(t.atom.size()), t.starred);
    t.answered_at = switches.generation();
  }
  return t.answer;
}

// Interpret a substitution BODY (TEXT) of GROUP once for every live switch
// that begins with ATOM, with the rest of the switch text as %*.
bool run_substitution(spec_interpreter &in, const char *group, const group_piece &body,
                      const std::string &text, const std::string &atom) {
  switch_list &switches = in.comp.switches;
  int length = static_cast<int>(atom.size());
  bool failed = switches.any_named(atom.c_str(), atom.size(), false, [&](int i) {
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

// Interpret the BODY (TEXT) of GROUP whose alternative matched through
// ATOM; false when it failed.
bool run_body(spec_interpreter &in, const char *group, const group_piece &body,
              const std::string &text, const std::string &atom) {
  if (body.substitution)
    return run_substitution(in, group, body, text, atom);
  provenance_scope copy(in.trace, text.c_str(), group + body.at);
  body_scope running(in, body, text);
  return in.do_spec_1(text.c_str(), false, nullptr) >= 0;
}

// The pieces of one group, in reading order: the kept ones while they
// last, then from the text (kept too, until a function term).
class piece_source {
public:
  // A group is kept from its second reading on: most groups are read
  // once, for one input.
  piece_source(spec_interpreter &in, const char *group, group_pieces &kept)
      : group_(group), enclosing_(in.current_body), kept_(kept),
        from_text_(!kept_.read_before) {
    kept_.read_before = true;
  }
  // Every piece of this reading is kept: at the group's end, the kept
  // pieces are the whole group.
  bool all_kept() const { return !from_text_; }

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
  group_pieces &kept;
  piece_source pieces{in, group, kept};
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
      result = term_is_true(in, t);
      tested = true;
    }
    if (tested && !alt_matched && !n_way_matched && result != t.negated) {
      alt_matched = true;
      matching_atom = t.atom;
    }
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
    return run_body(in, group, body, body_text(body, scratch), matching_atom);
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
          return end();
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
        return end();
      next_alternative();
    }
  }

  // The group read to its end, without error: when every piece of it was
  // kept, later readings go through run_kept_group.
  const char *end() {
    if (pieces.all_kept())
      kept.complete = true;
    return pieces.position();
  }
};

// A group whose pieces are all kept, read once without error: the same
// evaluation as group_reader's, without the grammar checks (they depend
// on the pieces alone, which passed them) and without reading text.  The
// two must stay in step: the braces fuzz target compares them.
//
// A reading that ran no body and wrote no switch, with switch tests
// only, did nothing; until the switches change, the next one will do
// nothing too and is skipped.
const char *run_kept_group(spec_interpreter &in, const char *group, group_pieces &kept) {
  switch_list &switches = in.comp.switches;
  if (kept.idle_at == switches.generation())
    return group + kept.pieces.back()->next;
  const std::vector<std::unique_ptr<group_piece>> &pieces = kept.pieces;
  static const std::string no_atom;
  bool n_way_matched = false;  // some earlier alternative matched
  bool alt_matched = false;    // the alternative being read matched
  bool idle = true;            // nothing done, switch tests only
  const std::string *matching_atom = &no_atom;
  std::vector<int> marked;
  for (std::size_t i = 0;;) {
    const group_piece &piece = *pieces[i++];
    const group_term &t = piece.term;
    char c = piece.separator;
    if (c == '&' || c == '}') {
      mark_matching_switches(switches, t.atom, t.starred, marked);
      if (c == '}') {
        if (marked.empty())
          kept.idle_at = switches.generation();
        emit_marked_switches(in, marked);
        return group + piece.next;
      }
      continue;
    }
    if (t.suffix_test || t.language_test)
      idle = false;
    if (t.atom.empty()) {
      if (!n_way_matched)
        alt_matched = true;
    } else if (!alt_matched && !n_way_matched && term_is_true(in, t) != t.negated) {
      alt_matched = true;
      matching_atom = &t.atom;
    }
    if (c == '|')
      continue;
    const group_piece &body = *pieces[i++];
    if (alt_matched && !n_way_matched) {
      idle = false;
      if (!run_body(in, group, body, body.body, *matching_atom))
        return nullptr;
      n_way_matched = true;
    }
    if (body.ending == '}') {
      if (idle)
        kept.idle_at = switches.generation();
      return group + body.next;
    }
    alt_matched = false;
    matching_atom = &no_atom;
  }
}

} // namespace

const char *spec_interpreter::process_braces(const char *p) {
  group_pieces &kept = group_texts.find(p, current_body.lasting && current_body.holds(p));
  if (kept.complete)
    return run_kept_group(*this, p, kept);
  group_reader reader{*this, p, kept};
  return reader.read();
}

