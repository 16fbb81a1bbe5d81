#!/usr/bin/env bash
# Whole-process cost of the installed driver: times N runs of a few driver
# command lines and of two baselines measured in the same run (/bin/true and
# the stand-in toolchain program executed directly), and prints the cost of
# each per run and as a ratio to the baselines.
#
# usage: bench/driver-startup.sh [ROOT] [N]
#   ROOT  installation with stand-ins (default build/test-root, which
#         `ctest --preset default` or tools/example.sh lays out)
#   N     runs per command line (default 200)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(cd "${1:-$here/build/test-root}" && pwd)
runs=${2:-200}
driver=$root/bin/vrk++
standin=$(echo "$root"/libexec/vrk/*/*/kfront)

if [[ ! -x $driver || ! -x $standin ]]; then
  echo "driver-startup.sh: no installation with stand-ins in $root" >&2
  echo "  (run: ctest --preset default -R driver-tests, or tools/example.sh)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo 'int main (void) { return 0; }' > x.c

# The first two are the baselines.  Every command is run once first: a
# failing one is left out, since timing a failure means nothing.
candidates=(
  "/bin/true"
  "$standin -quiet x.c -o x.s"
  "$driver -### -c x.c -o x.o"
  "$driver -dumpmachine"
  "$driver -print-prog-name=as"
)
commands=()
for cmd in "${candidates[@]}"; do
  if $cmd > /dev/null 2>&1; then
    commands+=("$cmd")
  elif ((${#commands[@]} < 2)); then
    echo "driver-startup.sh: baseline '$cmd' fails" >&2
    exit 1
  else
    echo "driver-startup.sh: '${cmd//$root/ROOT}' fails; not timed" >&2
  fi
done

# Nanoseconds for $runs runs of one command line.
time_runs() {
  local start end i
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do
    $1 > /dev/null 2>&1
  done
  end=$(date +%s%N)
  echo $((end - start))
}

printf '%-44s %12s %10s %12s\n' "command ($runs runs each)" "us per run" "x true" "x stand-in"
declare -a totals
for i in "${!commands[@]}"; do
  totals[i]=$(time_runs "${commands[i]}")
done
for i in "${!commands[@]}"; do
  label=${commands[i]//$(dirname "$standin")/LIBEXEC}
  label=${label//$root/ROOT}
  awk -v t="${totals[i]}" -v base="${totals[0]}" -v si="${totals[1]}" -v n="$runs" -v l="$label" \
    'BEGIN { printf "%-44s %12.1f %10.2f %12.2f\n", l, t / n / 1000, t / base, t / si }'
done
