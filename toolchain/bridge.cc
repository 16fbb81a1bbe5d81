// Translation of the specs' words for the host tools, and the exec.
#include "toolchain/bridge.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

word_list make_word_list(int capacity) {
  word_list list;
  list.capacity = capacity > 0 ? capacity : 1;
  list.count = 0;
  // One more for the terminating null pointer that exec wants.
  list.items = static_cast<const char **>(std::calloc(static_cast<std::size_t>(list.capacity) + 1,
                                                      sizeof(const char *)));
  if (!list.items) {
    std::fputs("out of memory\n", stderr);
    std::exit(1);
  }
  return list;
}

void push_word(word_list &list, const char *word) {
  // Capacities are computed from the argument count; overflowing one is a
  // fault of this program, not of its input.
  if (list.count >= list.capacity)
    std::abort();
  list.items[list.count++] = word;
  list.items[list.count] = nullptr;
}

void push_words(word_list &list, const word_list &more) {
  for (int i = 0; i < more.count; i++)
    push_word(list, more.items[i]);
}

void bridge_error(const char *program, const char *format, ...) {
  char text[1024];
  std::va_list ap;
  va_start(ap, format);
  std::vsnprintf(text, sizeof text, format, ap);
  va_end(ap);
  std::fprintf(stderr, "%s: error: %s\n", program, text);
}

const char *captured_operand(const translation &t, word_flag flag) {
  return t.captured[__builtin_ctz(static_cast<unsigned>(flag))];
}

namespace {

bool rule_matches(const word_rule &rule, host_variant variant, const char *word) {
  if (rule.variant != host_variant::any && rule.variant != variant)
    return false;
  if (rule.match == word_match::exact)
    return std::strcmp(word, rule.word) == 0;
  return std::strncmp(word, rule.word, std::strlen(rule.word)) == 0;
}

// One host word of a map row's template: "$1" stands for the first
// operand and "$*" for the text after the prefix, anywhere in the word.
char *expand_template_word(const char *piece, std::size_t length, const char *operand,
                           const char *rest) {
  std::size_t size = 1;
  for (std::size_t i = 0; i < length; i++) {
    if (piece[i] == '$' && i + 1 < length && (piece[i + 1] == '1' || piece[i + 1] == '*')) {
      size += std::strlen(piece[i + 1] == '1' ? operand : rest);
      i++;
    } else {
      size++;
    }
  }
  char *out = static_cast<char *>(std::malloc(size));
  if (!out)
    std::abort();
  char *p = out;
  for (std::size_t i = 0; i < length; i++) {
    if (piece[i] == '$' && i + 1 < length && (piece[i + 1] == '1' || piece[i + 1] == '*')) {
      const char *text = piece[i + 1] == '1' ? operand : rest;
      std::size_t n = std::strlen(text);
      std::memcpy(p, text, n);
      p += n;
      i++;
    } else {
      *p++ = piece[i];
    }
  }
  *p = '\0';
  return out;
}

void push_mapped(word_list &out, const word_rule &rule, const char *word, const char *operand) {
  const char *rest = word + std::strlen(rule.word);
  const char *t = rule.host;
  while (*t) {
    while (*t == ' ')
      t++;
    const char *end = t;
    while (*end && *end != ' ')
      end++;
    if (end != t)
      push_word(out, expand_template_word(t, static_cast<std::size_t>(end - t),
                                          operand ? operand : "", rest));
    t = end;
  }
}

void note_flags(translation &t, const word_rule &rule, const char *word, const char *operand) {
  t.flags = (t.flags | rule.sets) & ~rule.clears;
  unsigned capturing = rule.sets & word_flag_capturing;
  if (capturing)
    t.captured[__builtin_ctz(capturing)] = operand ? operand : word + std::strlen(rule.word);
}

} // namespace

const word_rule *lookup_word_rule(const word_table &table, host_variant variant, const char *word) {
  for (std::size_t i = 0; i < table.count; i++)
    if (rule_matches(table.rules[i], variant, word))
      return &table.rules[i];
  return nullptr;
}

translation translate_words(const word_table &table, host_variant variant, int argc,
                            char *const *argv, const char *program) {
  translation t;
  t.words = make_word_list(argc * host_words_per_word);
  for (int i = 1; i < argc; i++) {
    const char *word = argv[i];
    const word_rule *rule = word[0] == '-' ? lookup_word_rule(table, variant, word) : nullptr;
    if (!rule) {
      push_word(t.words, word);
      continue;
    }
    if (i + rule->operands >= argc) {
      bridge_error(program, "missing argument to '%s'", word);
      t.errors++;
      break;
    }
    const char *operand = rule->operands ? argv[i + 1] : nullptr;
    note_flags(t, *rule, word, operand);
    switch (rule->action) {
    case word_action::pass:
      for (int k = 0; k <= rule->operands; k++)
        push_word(t.words, argv[i + k]);
      break;
    case word_action::map:
      push_mapped(t.words, *rule, word, operand);
      break;
    case word_action::drop:
      break;
    case word_action::reject:
      bridge_error(program, "'%s' cannot be bridged to the host toolchain: %s", word, rule->why);
      t.errors++;
      break;
    }
    i += rule->operands;
  }
  return t;
}

namespace {

bool needs_quotes(const char *word) {
  if (!*word)
    return true;
  for (const char *p = word; *p; p++)
    if (std::strchr(" \t\n\"'\\$`", *p))
      return true;
  return false;
}

void echo_command(const word_list &command) {
  for (int i = 0; i < command.count; i++) {
    const char *word = command.items[i];
    std::fputc(' ', stderr);
    if (!needs_quotes(word)) {
      std::fputs(word, stderr);
      continue;
    }
    std::fputc('"', stderr);
    for (const char *p = word; *p; p++) {
      if (*p == '"' || *p == '\\' || *p == '$' || *p == '`')
        std::fputc('\\', stderr);
      std::fputc(*p, stderr);
    }
    std::fputc('"', stderr);
  }
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

} // namespace

int run_host_tool(const char *program, const word_list &command, bool echo) {
  if (echo)
    echo_command(command);
  std::fflush(stdout);
  execv(command.items[0], const_cast<char *const *>(command.items));
  bridge_error(program, "cannot run '%s': %s", command.items[0], std::strerror(errno));
  return 1;
}
