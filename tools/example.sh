#!/usr/bin/env bash
# The driver on a real program: installs what the machine lacks (only
# that), builds, installs the build with the host toolchain profile into
# build/example-root as a user would, compiles and links examples/hello.cc
# and examples/start.S with vrk++ -v, and runs the 64-bit Arm program under
# qemu-aarch64.  Its output is the last thing printed.
#
# usage: tools/example.sh
set -euo pipefail

src=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$src"
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
source .ci/packages.sh
install_missing_packages

cmake --preset default
cmake --build --preset default
root=$src/build/example-root
rm -rf "$root"
cmake --install build --prefix "$root" > /dev/null

work=$src/build/example-run
rm -rf "$work" && mkdir -p "$work" && cd "$work"
echo "== $root/bin/vrk++ -v -fno-exceptions -nostdlib -static -o hello examples/hello.cc examples/start.S"
"$root/bin/vrk++" -v -fno-exceptions -nostdlib -static -o hello \
  "$src/examples/hello.cc" "$src/examples/start.S"
echo "== qemu-aarch64 $work/hello"
qemu-aarch64 ./hello
