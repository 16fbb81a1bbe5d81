// The text pool's chunks.
#include "support/text-pool.h"

#include <cstdlib>

#include "support/xmalloc.h"

text_pool::~text_pool() {
  for (char *chunk : chunks_)
    std::free(chunk);
}

void text_pool::refill(std::size_t size) {
  constexpr std::size_t chunk_size = 16 * 1024;
  std::size_t length = size > chunk_size ? size : chunk_size;
  next_ = static_cast<char *>(xmalloc(length));
  end_ = next_ + length;
  chunks_.push_back(next_);
}
