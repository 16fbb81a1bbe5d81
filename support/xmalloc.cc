// Checked allocation and the out-of-memory exit shared by the driver and
// the wrappers.
#include "support/xmalloc.h"

#include "support/small-blocks.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <unistd.h>

namespace {
// Process-wide: every allocation of the program may fail, and the message
// names the program; set once at start-up.
const char *program_name = "";
}

void xmalloc_set_program_name(const char *name) {
  program_name = name ? name : "";
}

void xmalloc_failed(std::size_t size) {
  // No allocation may happen here: format into a fixed buffer.
  char buffer[512];
  int n = std::snprintf(buffer, sizeof buffer, "\n%s%sout of memory allocating %lu bytes\n",
                        program_name, *program_name ? ": " : "",
                        static_cast<unsigned long>(size));
  if (n > 0) {
    std::size_t len = static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1;
    ssize_t ignored = write(2, buffer, len);
    (void)ignored;
  }
  std::exit(1);
}

void *xmalloc(std::size_t size) {
  if (size == 0)
    size = 1;
  void *p = std::malloc(size);
  if (!p)
    xmalloc_failed(size);
  return p;
}

void *xcalloc(std::size_t count, std::size_t size) {
  if (count == 0 || size == 0)
    count = size = 1;
  void *p = std::calloc(count, size);
  if (!p)
    xmalloc_failed(count * size);
  return p;
}

void *xrealloc(void *old, std::size_t size) {
  if (size == 0)
    size = 1;
  void *p = old ? std::realloc(old, size) : std::malloc(size);
  if (!p)
    xmalloc_failed(size);
  return p;
}

// Route the standard allocation operators through the checked routines,
// by way of the size-class blocks.
// The sanitizer runtimes bring their own operators, so leave them alone
// in such builds.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VRK_KEEP_RUNTIME_NEW 1
#endif
#endif

#ifndef VRK_KEEP_RUNTIME_NEW
void *operator new(std::size_t size) { return small_blocks_new(size); }
void *operator new[](std::size_t size) { return small_blocks_new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  return small_blocks_new(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  return small_blocks_new(size);
}
void operator delete(void *p) noexcept { small_blocks_delete(p); }
void operator delete[](void *p) noexcept { small_blocks_delete(p); }
void operator delete(void *p, std::size_t) noexcept { small_blocks_delete(p); }
void operator delete[](void *p, std::size_t) noexcept { small_blocks_delete(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { small_blocks_delete(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { small_blocks_delete(p); }
#endif
