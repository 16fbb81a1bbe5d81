// Prints a backtrace from two functions below a reporter, linked as the programs are
// (with the static runtime when the build uses it): ctest checks that the
// frames come out with their demangled names.
#include <cstdio>

#include "diagnostics/backtrace.h"

namespace probe {

// Stands for the reporter, whose own frame the backtrace leaves out.
__attribute__((noinline)) int report() { return print_backtrace(stdout) + 1; }

__attribute__((noinline)) int inner_frame(int depth) { return report() + depth; }

__attribute__((noinline)) int outer_frame(int depth) { return inner_frame(depth + 1) + 1; }

} // namespace probe

int main() {
  volatile int depth = 0;
  return probe::outer_frame(depth) > 0 ? 0 : 1;
}
