// The decoder's string pool: texts made while decoding (canonical
// spellings, original texts, lower-cased arguments, "--param=" joins) live
// until the program ends and are never freed one by one.
#include <cstring>

#include "options/opts-common.h"
#include "support/xmalloc.h"

namespace {

constexpr std::size_t pool_chunk_size = 16 * 1024;

struct string_pool {
  // Every block starts with a link to the previous one, so that the whole
  // pool stays reachable (it lives as long as the program).
  void *blocks = nullptr;
  char *next = nullptr;
  std::size_t room = 0;

  char *new_block(std::size_t size) {
    auto *block = static_cast<char *>(xmalloc(sizeof(void *) + size));
    std::memcpy(block, &blocks, sizeof(void *));
    blocks = block;
    return block + sizeof(void *);
  }

  char *allocate(std::size_t size) {
    if (size > pool_chunk_size / 4) // large texts get a block of their own
      return new_block(size);
    if (size > room) {
      next = new_block(pool_chunk_size);
      room = pool_chunk_size;
    }
    char *result = next;
    next += size;
    room -= size;
    return result;
  }
};

string_pool &pool() {
  // Process-wide: decoded options of every caller point into it, and its
  // texts live as long as the program.
  static string_pool the_pool;
  return the_pool;
}

}  // namespace

const char *opts_pool_strndup(const char *text, std::size_t len) {
  char *copy = pool().allocate(len + 1);
  std::memcpy(copy, text, len);
  copy[len] = '\0';
  return copy;
}

const char *opts_pool_strdup(const char *text) {
  return opts_pool_strndup(text, std::strlen(text));
}

char *opts_pool_alloc(std::size_t size) { return pool().allocate(size); }

bool opts_pool_initialized() {
  pool();
  return true;
}
