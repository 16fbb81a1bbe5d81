#!/bin/sh
# A compiler proper for the -fcompare-debug tests.  It writes its -o file
# and the dump that -fdump-final-insns= names.  The dump holds DUMP_FIRST
# ("same" by default); in the second compilation (-fcompare-debug-second)
# it holds DUMP_SECOND when that is set, and no dump at all is written when
# NO_SECOND_DUMP is set.  EXIT_SECOND is the second compilation's status.
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
