#!/usr/bin/env bash
# Run fuzz targets for long, one after the other, at low priority, one job
# each (the machine is shared):
#
#   fuzz/run.sh [SECONDS] [TARGET...]
#
# SECONDS defaults to 600; the targets default to all of them.  Needs the
# optimised fuzz build (cmake --preset fuzz && cmake --build --preset
# fuzz), or the asan build when FUZZ_BUILD=build-asan.  Each target starts
# from its seed corpus (fuzz/corpus/TARGET) and keeps what it finds in
# build-fuzz/fuzz/long/TARGET; crashing inputs are written there
# as crash-*, leak-* or timeout-* files, and the log ends with the number
# of executions.  A crashing input belongs in the seed corpus once its
# fault is fixed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

root=$PWD
build=${FUZZ_BUILD:-build-fuzz}
seconds=${1:-600}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(argv specs_file spec_interpreter braces options colors_urls cpu jobserver multilib)
fi

for t in "${targets[@]}"; do
  out=$build/fuzz/long/$t
  mkdir -p "$out/corpus"
  dict=()
  [[ -f fuzz/$t.dict ]] && dict=(-dict="fuzz/$t.dict")
  echo "== $t: $seconds s, log $out/log"
  # The spec machinery keeps what a run builds until the process ends.
  leaks=1
  case $t in specs_file|spec_interpreter|braces|multilib) leaks=0 ;; esac
  status=0
  (cd "$out" && ASAN_OPTIONS=detect_leaks=$leaks nice -n 15 "../../fuzz_$t" \
     -max_total_time="$seconds" -jobs=1 -workers=1 -timeout=10 -rss_limit_mb=2048 \
     -detect_leaks=$leaks -close_fd_mask=3 -print_final_stats=1 \
     "${dict[@]/-dict=/-dict=$root/}" corpus "$root/fuzz/corpus/$t" > log 2>&1) || status=$?
  cat "$out"/fuzz-*.log >> "$out/log" 2>/dev/null || true
  grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$out/log" || true
  ls "$out" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' || echo "   no finding"
  echo "   exit status $status"
done
