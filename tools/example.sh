#!/usr/bin/env bash
# Runs the built driver the way a user runs an installed one: installs the
# build into build/example-root, puts the stand-in toolchain programs in place
# of a real compiler, assembler and linker, and compiles and links
# examples/hello.cc with -v.  Then shows what each stand-in was given.
#
# usage: tools/example.sh [BUILD_DIR]    (after cmake --build build)
set -euo pipefail

src=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
root=$build/example-root
target=aarch64-portbld-freebsd15.0
version=13.2.0

cmake -DBUILD_DIR="$build" -DROOT="$root" -DSTANDIN="$build/tests/bin/standin" \
      -DTARGET="$target" -DVERSION="$version" -P "$src/tests/make-test-root.cmake"

log=$root/standin.log
cd "$root"
echo "== $root/bin/vrk++ -v -o hello $src/examples/hello.cc"
status=0
STANDIN_LOG=$log "$root/bin/vrk++" -v -o hello "$src/examples/hello.cc" || status=$?
echo "== exit status $status; what the toolchain programs were given ($log):"
cat "$log" 2> /dev/null || echo "(nothing was run)"
if [[ -f hello ]]; then
  echo "== $root/hello:"
  cat hello
fi
exit "$status"
