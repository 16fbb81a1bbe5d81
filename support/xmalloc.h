// Checked allocation: these routines never return failure.  A size of 0
// counts as 1.  On exhaustion they print
//   "\n<program>: out of memory allocating <n> bytes\n"
// on standard error and exit with status 1.  The global operator new of
// every program goes through them too, so standard containers obey the
// same rule.
#ifndef VRK_SUPPORT_XMALLOC_H
#define VRK_SUPPORT_XMALLOC_H

#include <cstddef>

// The name printed by the out-of-memory message (empty by default; the
// driver sets its invocation name, the wrappers never set one).
void xmalloc_set_program_name(const char *name);

[[noreturn]] void xmalloc_failed(std::size_t size);

void *xmalloc(std::size_t size);
void *xcalloc(std::size_t count, std::size_t size);
void *xrealloc(void *old, std::size_t size);

#endif
