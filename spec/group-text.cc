// Reading a conditional group's text into pieces, and keeping the pieces.
#include "spec/group-text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "diagnostics/diagnostic.h"
#include "support/char-table.h"
#include "support/read-only-image.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_atom_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '+' || c == ',' || c == '-' || c == '.' || c == '=' || c == '@' ||
         c == '\\';
}

// The characters a body's end is looked for at: braces, ";", "%" and the
// terminator.  Runs between them are short in specs.
constexpr char_table body_stops("\0{};%");

const char *next_body_stop(const char *p) {
  while (!body_stops(*p))
    p++;
  return p;
}

// The atom at P, whose characters may be escaped with "\"; the position
// after it.
const char *read_atom(const char *group, const char *p, std::string &atom) {
  const char *run = p;
  while (is_atom_char(*p) && *p != '\\')
    p++;
  atom.assign(run, static_cast<std::size_t>(p - run));
  while (is_atom_char(*p)) {
    if (*p == '\\') {
      p++;
      if (!*p)
        fatal_error(UNKNOWN_LOCATION, "braced spec %qs ends in escape", group);
    }
    atom += *p++;
  }
  return p;
}

}  // namespace

std::size_t skip_blanks(const char *group, std::size_t at) {
  while (is_blank(group[at]))
    at++;
  return at;
}

void invalid_body(const char *body) {
  fatal_error(UNKNOWN_LOCATION, "braced spec body %qs is invalid", body);
}

void read_term_piece(const char *group, std::size_t from, group_piece &piece) {
  group_term &t = piece.term;
  piece.at = from;
  const char *p = group + from;
  if (*p == '!') {
    t.negated = true;
    p = group + skip_blanks(group, static_cast<std::size_t>(p + 1 - group));
  }
  if (p[0] == '%' && p[1] == ':') {
    t.function = true;
    piece.function_at = static_cast<std::size_t>(p + 2 - group);
    return;
  }
  if (*p == '.') {
    t.suffix_test = true;
    p++;
  } else if (*p == ',') {
    t.language_test = true;
    p++;
  }
  p = read_atom(group, p, t.atom);
  if (*p == '*') {
    t.starred = true;
    p++;
  }
  read_separator(group, static_cast<std::size_t>(p - group), piece);
}

void read_separator(const char *group, std::size_t from, group_piece &piece) {
  piece.separator_at = skip_blanks(group, from);
  piece.separator = group[piece.separator_at];
  piece.next = piece.separator_at + 1;
}

namespace {

// The end of the body at START, read from its text: ";" or "}" at its own
// depth.  Every "{" on the way goes into PIECE's pairs; while a pair is
// open its close field links to the pair around it (1 + its index, 0 for
// none).
const char *scan_body(const char *start, group_piece &piece) {
  std::vector<brace_pair> &pairs = piece.braces;
  std::uint32_t open = 0;
  for (const char *p = start;; p++) {
    p = next_body_stop(p);
    auto at = static_cast<std::uint32_t>(p - start);
    switch (*p) {
    case '\0':
      invalid_body(start);
    case '{':
      pairs.push_back({at, open});
      open = static_cast<std::uint32_t>(pairs.size());
      break;
    case '}':
      if (!open)
        return p;
      open = std::exchange(pairs[open - 1].close, at);
      break;
    case ';':
      if (!open)
        return p;
      break;
    default:  // '%'
      if (p[1] == '*' && !open)
        piece.substitution = true;
      break;
    }
  }
}

// The same for a body inside ENCLOSING, whose pairs are known: a "{" is
// stepped over to its "}", and the body's pairs are the run of the
// enclosing ones that lie in it.
const char *step_body(const char *start, group_piece &piece, const body_text &enclosing) {
  const std::vector<brace_pair> &pairs = *enclosing.braces;
  auto base = static_cast<std::uint32_t>(start - enclosing.text);
  auto first = std::lower_bound(pairs.begin(), pairs.end(), base,
                                [](const brace_pair &pair, std::uint32_t at) { return pair.open < at; });
  auto next = first;
  const char *p = start;
  for (;; p++) {
    p = next_body_stop(p);
    char c = *p;
    if (c == '{') {
      auto at = static_cast<std::uint32_t>(p - enclosing.text);
      while (next != pairs.end() && next->open < at)
        next++;
      vrk_assert(next != pairs.end() && next->open == at);
      p = enclosing.text + next->close;
      continue;
    }
    if (c == '}' || c == ';')
      break;
    if (!c)
      invalid_body(start);
    if (p[1] == '*')
      piece.substitution = true;
  }
  auto end = static_cast<std::uint32_t>(p - enclosing.text);
  for (auto pair = first; pair != pairs.end() && pair->open < end; ++pair)
    piece.braces.push_back({pair->open - base, pair->close - base});
  return p;
}

} // namespace

void read_body_piece(const char *group, std::size_t from, group_piece &piece,
                     const body_text *enclosing) {
  const char *start = group + from;
  piece.at = from;
  // Only braces, ";" and "%" matter; the runs between them are skipped
  // whole.
  const char *p = enclosing && enclosing->holds(start) ? step_body(start, piece, *enclosing)
                                                       : scan_body(start, piece);
  const char *end = p;
  while (end > start && is_blank(end[-1]))
    end--;
  piece.body_end = static_cast<std::size_t>(end - group);
  piece.ending = *p;
  piece.next = static_cast<std::size_t>(p + 1 - group);
}

const group_piece &group_pieces::keep(const char *group, group_piece &&piece) {
  text.append(group + text.size(), piece.next - text.size());
  // A kept body is run from its own copy, which stays put: the groups in
  // it are found again at the same place the next time.
  if (piece.ending) {
    piece.body.assign(group + piece.at, piece.body_end - piece.at);
    piece.body_copied = true;
  }
  pieces.push_back(std::make_unique<group_piece>(std::move(piece)));
  return *pieces.back();
}

group_text_store::slot &group_text_store::slot_for(const char *group) {
  // Linear probing from the home slot.
  std::size_t mask = slots_.size() - 1;
  std::size_t i = home_of(group);
  while (slots_[i].group && slots_[i].group != group)
    i = (i + 1) & mask;
  return slots_[i];
}

void group_text_store::grow() {
  std::vector<slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 256 : old.size() * 2, slot{});
  for (const slot &s : old)
    if (s.group)
      slot_for(s.group) = s;
}

group_pieces &group_text_store::find_slot(const char *group, bool lasting) {
  if ((used_ + 1) * 2 > slots_.size())
    grow();
  slot &s = slot_for(group);
  if (s.group && s.lasting)
    return *s.pieces;
  // The built-in spec texts never change either.  Otherwise the slot may
  // have been made for an earlier text at the same place.
  lasting = lasting || in_read_only_image(group);
  if (!s.group ||
      (!lasting && std::strncmp(group, s.pieces->text.data(), s.pieces->text.size()) != 0)) {
    if (!s.group)
      used_++;
    s.group = group;
    s.pieces = entries_.emplace_back(std::make_unique<group_pieces>()).get();
  }
  s.lasting = lasting;
  return *s.pieces;
}
