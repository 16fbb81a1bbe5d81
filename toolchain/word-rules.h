// The translation tables of the host toolchain profile.  Every word that
// the driver's specs hand to kfront, kfrontxx, as or ldwrap is looked up in
// the program's table; a row says whether the word goes to the host tool as
// it is, in the host tool's own spelling, not at all, or not at all with an
// error, and what the word tells the bridge itself (the input language, the
// mode, the debug level...).  Words that no row matches go on unchanged:
// the host tool is the judge of the user's own options.
#ifndef VRK_TOOLCHAIN_WORD_RULES_H
#define VRK_TOOLCHAIN_WORD_RULES_H

#include <cstddef>

enum class word_action : unsigned char {
  pass,   // the word and its operands go on unchanged
  map,    // replaced by the row's host words
  drop,   // consumed by the bridge; the result does not depend on it
  reject  // cannot be bridged: an error naming the word and the reason
};

enum class word_match : unsigned char {
  exact,  // the whole word
  prefix  // the word begins with the row's text; "$*" is the rest
};

// Which host linker a row applies to (ldwrap); other programs use `any`.
enum class host_variant : unsigned char { any, lld, bfd };

// What a word tells the bridge.  A row sets `sets` and then clears
// `clears`, in command-line order, so the last word wins.
enum word_flag : unsigned {
  WORD_PREPROCESS_ONLY = 1u << 0,  // -E, -M, -MM
  WORD_PREPROCESSED = 1u << 1,     // the input is preprocessed text
  WORD_ASM_WITH_CPP = 1u << 2,     // the input is assembler to preprocess
  WORD_SYSROOT = 1u << 3,          // a system root was named
  WORD_DEBUG = 1u << 4,            // debug information is asked for
  WORD_DWARF_VERSION = 1u << 5,    // the DWARF version was named
  WORD_DEPENDENCIES = 1u << 6,     // -MD, -MMD
  WORD_DEPENDENCY_TARGET = 1u << 7,// -MT, -MQ
  WORD_HELP = 1u << 8,             // --help, --version and their kind
  WORD_VERBOSE = 1u << 9,          // -v
  WORD_DUMPBASE = 1u << 10,        // operand: the dump base name
  WORD_DUMPBASE_EXT = 1u << 11,    // operand: its extension
  WORD_SYNTAX_ONLY = 1u << 12,     // -fsyntax-only
  WORD_USE_LLD = 1u << 13,         // -fuse-ld=lld
  WORD_USE_BFD = 1u << 14,         // -fuse-ld=bfd
};

// The flags whose rows also keep their operand (or the text after the
// prefix) for the bridge to use.
inline constexpr unsigned word_flag_capturing = WORD_DUMPBASE | WORD_DUMPBASE_EXT;

struct word_rule {
  const char *word;         // the word, or its leading part
  word_match match;
  unsigned char operands;   // following words that belong to it
  word_action action;
  const char *host;         // map: blank-separated host words; "$1" is the
                            // first operand, "$*" the text after the prefix
  unsigned sets;
  unsigned clears;
  host_variant variant;
  const char *why;          // why the row is not a plain pass
};

struct word_table {
  const char *program;      // the name the specs run
  const word_rule *rules;
  std::size_t count;
};

extern const word_table kfront_table;
extern const word_table as_table;
extern const word_table ldwrap_table;

#endif
