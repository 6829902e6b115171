#!/usr/bin/env bash
# Runs the libFuzzer targets built in build-fuzz/.
#   fuzz.sh replay            every target over its seed corpus (fuzz/corpus/<target>)
#   fuzz.sh run SECONDS [T]   fuzz each target (or only T) for SECONDS, new inputs kept in build-fuzz/corpus
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-replay}
targets=()
for src in "$root"/fuzz/*.cpp; do
  [ -e "$src" ] || continue
  targets+=("$(basename "$src" .cpp)")
done
[ $# -ge 3 ] && targets=("$3")
for t in "${targets[@]}"; do
  bin="$root/build-fuzz/$t"
  seeds="$root/fuzz/corpus/$t"
  mkdir -p "$seeds"
  case "$mode" in
    replay)
      echo "-- replay $t"
      log="$root/build-fuzz/$t.replay.log"
      if ! "$bin" -runs=0 "$seeds" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz target $t fails on its corpus"
        exit 1
      fi
      tail -n 1 "$log" ;;
    run)
      work="$root/build-fuzz/corpus/$t"
      mkdir -p "$work"
      echo "-- fuzz $t for ${2}s"
      log="$root/build-fuzz/$t.log"
      if ! "$bin" -max_total_time="$2" -print_final_stats=1 "$work" "$seeds" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz target $t found a failure"
        exit 1
      fi
      grep -E 'stat::number_of_executed_units' "$log" || true ;;
  esac
done
