#!/usr/bin/env bash
# The host profile's own cost per child: for a small real compile, assemble
# and link, times each bridge program's own work (start-up and translation
# of the words the driver gives it) and the host tool called directly with
# the words the bridge gives it, in the same run, and prints the bridge's
# cost as a share of the child's.
#
# usage: bench/bridge-startup.sh [ROOT] [N]
#   ROOT  installation with the host profile (default build/host-root, which
#         `ctest --preset default` or tools/example.sh lays out)
#   N     runs per command (default 40)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(cd "${1:-$here/build/host-root}" && pwd)
runs=${2:-40}
libexec=$(echo "$root"/libexec/vrk/*/*)
if [[ ! -x $libexec/kfront || ! -x $libexec/ldwrap ]]; then
  echo "bridge-startup.sh: no host profile in $root (ctest --preset default lays it out)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$here/examples/hello.cc" "$here/examples/start.S" .

# The words the driver gives each program for the example, and the host
# command the bridge runs for them (taken from its -v echo).
kfront_words=(-quiet -iprefix "$root/lib/vrk/x/" hello.cc -quiet -dumpbase hello.cc
              -dumpbase-ext .cc -mlittle-endian -mabi=lp64 -fno-exceptions -O2 -o hello.s)
as_words=(-EL -mabi=lp64 -o hello.o hello.s)
host_command() {  # program words... -> the host command, one word a line
  "$libexec/$1" -v "${@:2}" 2>&1 > /dev/null | grep -m1 '^ /' | sed 's/^ //' | tr ' ' '\n' |
    grep -vx -- '-v'
}
"$libexec/kfrontxx" "${kfront_words[@]}"
"$libexec/as" "${as_words[@]}"
"$root/bin/vrk" -c start.S -o start.o
ld_words=(-Bstatic -X -maarch64fbsd -EL -o hello hello.o start.o)
mapfile -t kfront_host < <(host_command kfrontxx "${kfront_words[@]}")
mapfile -t as_host < <(host_command as "${as_words[@]}")
mapfile -t ld_host < <(host_command ldwrap "${ld_words[@]}")

time_block() {  # runs command... -> nanoseconds for that many runs of it
  local n=$1 start end i; shift
  start=$(date +%s%N)
  for ((i = 0; i < n; i++)); do "$@" > /dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo $((end - start))
}

# The bridge's own cost is a run that translates all the words and stops
# where it would exec: a last word that its table refuses (`stop`).  It and
# the host tool called directly alternate, so that both see the same load.
measure() {  # program, stop word, its words, then -- and the host command
  local name=$1 program=$1 stop=$2; shift 2
  local words=() direct=() seen=0 arg
  for arg in "$@"; do
    if [[ $arg == -- && $seen == 0 ]]; then seen=1; continue; fi
    if ((seen)); then direct+=("$arg"); else words+=("$arg"); fi
  done
  # Blocks of ten alternate, so that all three see the same load.
  local own=0 host=0 base=0 i
  for ((i = 0; i < runs; i += 10)); do
    own=$((own + $(time_block 10 "$libexec/$program" "${words[@]}" "$stop")))
    host=$((host + $(time_block 10 "${direct[@]}")))
    base=$((base + $(time_block 10 /bin/true)))
  done
  runs=$(((runs + 9) / 10 * 10))
  own=$((own / runs / 1000)) host=$((host / runs / 1000)) base=$((base / runs / 1000))
  printf '%-8s bridge %5d us  empty program (/bin/true) %5d us  host tool %7d us  bridge/host %s%%\n' \
    "$name" "$own" "$base" "$host" "$(awk -v o="$own" -v h="$host" 'BEGIN { printf "%.1f", 100 * o / h }')"
}

echo "bridge-startup: $runs runs each, $(date -u +%Y-%m-%d)"
measure kfrontxx -fzux-tm "${kfront_words[@]}" -- "${kfront_host[@]}"
measure as -o "${as_words[@]}" -- "${as_host[@]}"
measure ldwrap -fuse-ld=mold "${ld_words[@]}" -- "${ld_host[@]}"
