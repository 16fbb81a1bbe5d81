// The engine shared by the host-profile programs: translate the words the
// specs gave a program through its table, then replace the program by the
// host tool (exec), so that the tool's status and signals are the
// program's own and no process waits in between.
#ifndef VRK_TOOLCHAIN_BRIDGE_H
#define VRK_TOOLCHAIN_BRIDGE_H

#include "toolchain/word-rules.h"

// A list of words with room fixed when it is made: translation never grows
// a word into more than `host_words_per_word` words.
struct word_list {
  const char **items;
  int count;
  int capacity;
};

inline constexpr int host_words_per_word = 4;

word_list make_word_list(int capacity);
void push_word(word_list &list, const char *word);
void push_words(word_list &list, const word_list &more);

struct translation {
  word_list words;                 // host words, in command-line order
  unsigned flags = 0;              // word_flag bits, last word wins
  const char *captured[32] = {};   // operands of capturing flags, by bit
  int errors = 0;                  // words that cannot be bridged
};

// The operand kept for one capturing flag, or null.
const char *captured_operand(const translation &t, word_flag flag);

// Translates argv[1..argc-1] with `table`; rows of another host variant
// are skipped.  Every word that cannot be bridged is reported on standard
// error as "<program>: error: ..." and counted.
translation translate_words(const word_table &table, host_variant variant, int argc,
                            char *const *argv, const char *program);

// The row that decides `word`, or null when the word passes unmatched.
const word_rule *lookup_word_rule(const word_table &table, host_variant variant, const char *word);

// Prints "<program>: error: <text>" on standard error.
void bridge_error(const char *program, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

// Echoes the command on standard error when `echo` (as the driver's -v
// does), then executes it; returns only when the exec failed, after
// reporting it, with the status the program should exit with.
int run_host_tool(const char *program, const word_list &command, bool echo);

#endif
