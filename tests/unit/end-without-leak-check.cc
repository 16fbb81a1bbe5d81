// Linked into every unit test program: a process that ends by a fatal or
// internal error (the child of a death test) ends without the exit-time
// leak check of the sanitizer build.  What a run keeps until it ends is
// not a leak, and such a process ends there; its output is flushed first.
#include <unistd.h>

#include <cstdio>

#include "support/error-exit.h"

namespace {

[[noreturn]] void end_without_leak_check(int status) {
  std::fflush(nullptr);
  _exit(status);
}

const bool installed = (error_exit_hook = end_without_leak_check, true);

} // namespace
