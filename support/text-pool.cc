// New chunks for the text pool.
#include "support/text-pool.h"

#include "support/xmalloc.h"

void text_pool::refill(std::size_t size) {
  constexpr std::size_t chunk_size = 16 * 1024;
  std::size_t length = size > chunk_size ? size : chunk_size;
  next_ = static_cast<char *>(xmalloc(length));
  end_ = next_ + length;
}
