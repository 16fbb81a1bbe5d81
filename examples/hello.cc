// A program to hand to the driver in tools/example.sh.  With the stand-in
// toolchain nothing compiles it for real; the driver's commands are the point.
#include <cstdio>

int main() {
  std::puts("hello");
  return 0;
}
