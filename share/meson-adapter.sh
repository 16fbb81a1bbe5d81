#!/bin/sh
# Runs vrk (as vrk-meson-cc) or vrk++ (as vrk-meson-c++) for Meson, which
# knows compilers by their version text and speaks to this one as to the
# compiler proper behind it (clang, in the host toolchain profile):
#  - `--version` alone prints the driver's version and the compiler
#    proper's, so that Meson recognises the family;
#  - -fcolor-diagnostics and -fno-color-diagnostics, which Meson adds for
#    that family, become the driver's -fdiagnostics-color=always and =never.
# Everything else reaches the driver unchanged.
here=$(dirname "$0")
case $(basename "$0") in
  *c++) driver=$here/vrk++ ;;
  *) driver=$here/vrk ;;
esac

if [ "$#" -eq 1 ] && [ "$1" = --version ]; then
  "$driver" --version || exit
  kfront=$("$driver" -print-prog-name=kfront)
  echo "compiler proper: $kfront"
  exec "$kfront" --version
fi

for arg do
  shift
  case $arg in
    -fcolor-diagnostics) arg=-fdiagnostics-color=always ;;
    -fno-color-diagnostics) arg=-fdiagnostics-color=never ;;
  esac
  set -- "$@" "$arg"
done
exec "$driver" "$@"
