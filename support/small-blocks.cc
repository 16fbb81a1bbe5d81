// Size-class blocks with a header that names the class.
#include "support/small-blocks.h"

#include <cstdint>
#include <cstdlib>

#include "support/xmalloc.h"

namespace {

constexpr std::size_t granule = 16;      // every class a multiple; the alignment
constexpr std::size_t class_count = 16;  // classes of 16 .. 256 bytes
constexpr std::size_t chunk_size = 64 * 1024;
constexpr std::size_t large = ~std::size_t{0};

// Before every block, keeping it aligned to a granule.
struct alignas(granule) header {
  std::size_t size_class;  // or LARGE: the block came from xmalloc
};
static_assert(sizeof(header) == granule);

struct free_block {
  free_block *next;
};

// Process-wide, as operator new is.
free_block *free_lists[class_count];
char *chunk_next = nullptr;
char *chunk_end = nullptr;

void *carve(std::size_t size_class) {
  std::size_t total = sizeof(header) + (size_class + 1) * granule;
  if (static_cast<std::size_t>(chunk_end - chunk_next) < total) {
    // The rest of the old chunk is left unused.
    chunk_next = static_cast<char *>(xmalloc(chunk_size));
    chunk_end = chunk_next + chunk_size;
  }
  auto *h = reinterpret_cast<header *>(chunk_next);
  chunk_next += total;
  h->size_class = size_class;
  return h + 1;
}

} // namespace

void *small_blocks_new(std::size_t size) {
  if (size != 0 && size <= class_count * granule) {
    std::size_t size_class = (size - 1) / granule;
    if (free_block *b = free_lists[size_class]) {
      free_lists[size_class] = b->next;
      return b;
    }
    return carve(size_class);
  }
  if (size > large - sizeof(header))
    xmalloc_failed(size);
  auto *h = static_cast<header *>(xmalloc(sizeof(header) + (size ? size : 1)));
  h->size_class = large;
  return h + 1;
}

void small_blocks_delete(void *block) noexcept {
  if (!block)
    return;
  header *h = static_cast<header *>(block) - 1;
  if (h->size_class == large) {
    std::free(h);
    return;
  }
  auto *b = static_cast<free_block *>(block);
  b->next = free_lists[h->size_class];
  free_lists[h->size_class] = b;
}
