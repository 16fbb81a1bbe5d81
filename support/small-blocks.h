// The blocks behind operator new.  A driver run makes many short-lived
// small objects (strings, vector buffers, list entries) and ends soon, so
// small blocks are carved from large chunks by size class and a freed one
// goes back to the free list of its class, for the next block of that
// size; the chunks are never handed back before exit.  Larger blocks come
// from the checked C-library routines.  The programs have one thread.
#ifndef VRK_SUPPORT_SMALL_BLOCKS_H
#define VRK_SUPPORT_SMALL_BLOCKS_H

#include <cstddef>

// A block of at least SIZE bytes (1 for 0), aligned for any object of
// that size; the out-of-memory exit of xmalloc when none is left.
void *small_blocks_new(std::size_t size);
// Give back a block from small_blocks_new (null is ignored).
void small_blocks_delete(void *block) noexcept;

#endif
