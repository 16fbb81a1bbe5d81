// The compilers table: which spec turns an input into something the linker
// takes, chosen by the input's suffix or by an explicit language.
#ifndef VRK_COMPILATION_COMPILERS_H
#define VRK_COMPILATION_COMPILERS_H

#include <cstddef>
#include <deque>

struct compiler_entry {
  const char *key;                // suffix (".c"), "-" (standard input) or "@language"
  const char *spec;               // a spec, "@language" (alias) or "#Language" (not installed)
  const char *preprocessor_spec;  // replaces the standard preprocessor spec for %C, or null
  int combinable;                 // the compiler accepts several inputs at once
  int needs_preprocessing;
};

// The built-in rows, ending with an all-null row.
extern const compiler_entry default_compilers[];
extern const int default_compilers_count;

// The table in use: the built-in rows, then rows added by specs files.
// Lookups search from the last row, so later rows win.  Adding a row never
// moves the others: a specs file read while an input is compiled (the
// include spec function) adds rows while the interpreter and the inputs
// point at rows.
class compilers_table {
public:
  std::deque<compiler_entry> rows;

  // Copy the built-in rows in (once, while loading specs).
  void init() { rows.assign(default_compilers, default_compilers + default_compilers_count); }
  // Add a row defined by a specs file.
  void add(const char *key, const char *spec) { rows.push_back({key, spec, nullptr, 0, 0}); }

  // The row for the input NAME (LENGTH characters) given under LANGUAGE
  // (null: by suffix), following aliases; null for linker inputs.  An
  // unknown language is an error (null); a header read from standard input
  // is fatal unless PREPROCESS_ONLY.
  compiler_entry *lookup(const char *name, std::size_t length, const char *language,
                         bool preprocess_only);

private:
  compiler_entry *find_language_row(const char *language, std::size_t language_length);
  compiler_entry *lookup_language(const char *language);
};

#endif
