// The text of a conditional group (the part after "%{"), read into its
// pieces: terms with the separator after each, and bodies.  A group is
// read again for every input, usually from the same spec text, so the
// pieces read once are kept with the text they came from and used again
// while the text at that place is the same.  Reading stays lazy: a piece
// is read only when the group's interpretation gets to it, so a spec
// error is found at the same point whether pieces were kept or not.
#ifndef VRK_SPEC_GROUP_TEXT_H
#define VRK_SPEC_GROUP_TEXT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One term of a group: an atom or a spec-function call.
struct group_term {
  bool negated = false;
  bool suffix_test = false;    // ".c"
  bool language_test = false;  // ",c++"
  bool function = false;       // %:f(...), called where it stands
  bool starred = false;
  std::string atom;
  // A switch test's last answer, and the switches' generation it holds
  // for: a kept term read for input after input asks again only when the
  // switches changed.
  mutable std::uint64_t answered_at = 0;
  mutable bool answer = false;
};

// A "{" inside a body and the "}" that closes it, as offsets from the
// start of the body.  A body's pairs are listed in the order of their
// "{": a body nested in it finds its own pairs as one run of them.
struct brace_pair {
  std::uint32_t open, close;
};

// A term with the separator that ends it, or a body.  Positions are
// offsets from the start of the group text.
struct group_piece {
  // A term: where it starts (after blanks), the term, and the separator
  // ("&", "}", "|" or ":") with its position.  For a function term only
  // FUNCTION_AT, the offset after "%:", is known: the call reads the rest.
  std::size_t at = 0;
  group_term term;
  std::size_t function_at = 0;
  char separator = 0;
  std::size_t separator_at = 0;
  // A body: where its text ends (it runs up to ";" or "}" at its own
  // depth, without trailing blanks; it starts at AT); the text as one of
  // its own once the piece is kept; whether it holds %* at its own depth;
  // the character that ended it.
  std::size_t body_end = 0;
  std::vector<brace_pair> braces;  // every "{" in the body, however deep
  std::string body;
  bool body_copied = false;
  bool substitution = false;
  char ending = 0;
  // The offset after the piece.
  std::size_t next = 0;
};

// The offset of the first character at or after AT in GROUP that is no
// blank or tab.
std::size_t skip_blanks(const char *group, std::size_t at);
// "braced spec body %qs is invalid", a fatal error.
[[noreturn]] void invalid_body(const char *body);

// Read from GROUP at offset FROM (blanks already skipped): a term and its
// separator, or, for a function term, only up to the function's name.
// Fatal errors are those of the group grammar.
void read_term_piece(const char *group, std::size_t from, group_piece &piece);
// The separator at offset FROM (blanks are skipped first) into PIECE.
void read_separator(const char *group, std::size_t from, group_piece &piece);
// The text of a body being interpreted, with its brace pairs: the body of
// a group nested in it is read by stepping over the groups nested deeper,
// not by scanning them once for every level.  LASTING: the text stays, as
// it is, for the rest of the run (a kept copy).
struct body_text {
  const char *text = nullptr;
  std::size_t length = 0;
  const std::vector<brace_pair> *braces = nullptr;
  bool lasting = false;

  bool holds(const char *p) const {
    return text && p >= text && p < text + length;
  }
};

// The body at offset FROM into PIECE.  ENCLOSING, when it holds the body,
// is the text of the body around it (or null).
void read_body_piece(const char *group, std::size_t from, group_piece &piece,
                     const body_text *enclosing);

// The pieces read so far from one group text.
struct group_pieces {
  std::string text;  // the group text they were read from, up to the last
                     // piece's end
  // Each piece has a place of its own, which stays as pieces are added: a
  // body being interpreted may read the same group again (a spec that
  // includes itself).
  std::vector<std::unique_ptr<group_piece>> pieces;
  // A function term ends what can be kept: the length of its call is
  // known only to the call.
  bool closed = false;
  // Whether the group was read before: only then are pieces kept.
  bool read_before = false;
  // The pieces are the whole group, read once without error.
  bool complete = false;
  // The switches' generation at which a reading of the complete group
  // last did nothing (see run_kept_group); 0 for none.
  std::uint64_t idle_at = 0;

  // Keep PIECE, read from GROUP after the pieces kept before it.
  const group_piece &keep(const char *group, group_piece &&piece);
};

// The kept pieces of every group text read in a run, by where the text
// starts: an open-addressing table of text addresses, since a group is
// looked up each time it is read.
class group_text_store {
public:
  // The pieces kept for the group at GROUP, when the text there still
  // begins with the text they were read from; otherwise a fresh entry for
  // it.  LASTING: the text at GROUP never changes during the run (a kept
  // copy; the program's own constant texts are recognised here), so the
  // comparison is not needed.  The result stays valid for the rest of the
  // run.
  group_pieces &find(const char *group, bool lasting) {
    // Most lookups, after the first input, are of a lasting text's
    // group in its home slot.
    if (!slots_.empty()) {
      const slot &s = slots_[home_of(group)];
      if (s.group == group && s.lasting)
        return *s.pieces;
    }
    return find_slot(group, lasting);
  }

private:
  struct slot {
    const char *group = nullptr;
    group_pieces *pieces = nullptr;
    // The text at GROUP is known to stay: no other can take its place.
    bool lasting = false;
  };
  std::size_t home_of(const char *group) const {
    // Fibonacci hashing of the address.
    return static_cast<std::size_t>(
               (reinterpret_cast<std::uintptr_t>(group) * 0x9E3779B97F4A7C15ull) >> 40) &
           (slots_.size() - 1);
  }
  group_pieces &find_slot(const char *group, bool lasting);
  slot &slot_for(const char *group);
  void grow();

  std::vector<slot> slots_;  // a power of two in size, at most half used
  std::size_t used_ = 0;
  // Every entry made, those whose place now holds another text too: one
  // of them may still be interpreted further up the stack.
  std::vector<std::unique_ptr<group_pieces>> entries_;
};

#endif
