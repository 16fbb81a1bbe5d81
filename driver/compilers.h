// The compilers table and the per-input loop: which spec turns each input
// into something the linker takes, and running those specs.
#ifndef VRK_DRIVER_COMPILERS_H
#define VRK_DRIVER_COMPILERS_H

#include <cstddef>
#include <deque>
#include <vector>

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
extern std::deque<compiler_entry> compilers_table;

// One flag per input: set for inputs that no compiler handles (they go to
// the linker as they are).
extern std::vector<char> explicit_link_files;

// Copy the built-in rows into `compilers_table` (once, while loading specs).
void init_compilers_table();
// Add a row defined by a specs file.
void add_compiler(const char *key, const char *spec);

compiler_entry *lookup_compiler(const char *name, std::size_t length, const char *language);

// True when an error had been reported before it started: compiling and
// linking are then skipped.
bool check_inputs();
void do_spec_on_infiles();

#endif
