#!/bin/sh
# A compiler proper for the -fcompare-debug tests: writes its -o file and
# the -fdump-final-insns= dump, which holds DUMP_FIRST ("same" by default)
# or, in the second compilation, DUMP_SECOND when set; NO_SECOND_DUMP skips
# the second dump and EXIT_SECOND is the second compilation's status.
second=
for a; do [ "$a" = -fcompare-debug-second ] && second=1; done
text=${DUMP_FIRST-same}
[ -n "$second" ] && text=${DUMP_SECOND-$text}
prev=
for a; do
  case $a in
    -fdump-final-insns=*)
      [ -n "$second" ] && [ -n "$NO_SECOND_DUMP" ] || printf '%s\n' "$text" > "${a#-fdump-final-insns=}" ;;
  esac
  [ "$prev" = -o ] && echo assembler > "$a"
  prev=$a
done
[ -n "$second" ] && exit "${EXIT_SECOND-0}"
exit 0
