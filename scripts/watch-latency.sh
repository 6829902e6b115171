#!/usr/bin/env bash
# Measures how long a picture saved in a linked sprite folder takes to show: runs
# trellisor-cli watch --render on the sample workspace, saves 055.png again and again as
# pixel editors do (written under a temporary name, then renamed over the old one), and
# times each save from the rename to the line that says OUT and the preview picture are
# written. Prints every figure, then the median and the largest.
# Usage: scripts/watch-latency.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-20}
build=${TRELLISOR_BUILD:-$root/build}
cmake --build "$build" --target trellisor-cli trellisor-workspace >/dev/null
cli="$build/src/cli/trellisor-cli"
work=$(mktemp -d)
trap 'kill "$watcher" 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/tools/workspace/trellisor-workspace" "$work" >/dev/null
cd "$work"
# Two versions of the picture: the sample's own and its neighbour object's.
"$cli" sprites SAMPLE2.DAT --out other >/dev/null
"$cli" watch SAMPLE.DAT sprites OUT.DAT --render example-path -o view.png >log 2>&1 &
watcher=$!
lines() { wc -l <log; }
until [ "$(lines)" -ge 1 ]; do sleep 0.01; done
cp sprites/055.png own.png
cp other/055.png theirs.png
figures=()
for ((i = 0; i < rounds; i++)); do
  if ((i % 2 == 0)); then version=theirs.png; else version=own.png; fi
  seen=$(lines)
  cp "$version" sprites/.055.png.part
  start=$(date +%s%N)
  mv sprites/.055.png.part sprites/055.png
  until [ "$(lines)" -gt "$seen" ]; do sleep 0.002; done
  end=$(date +%s%N)
  figures+=($(((end - start) / 1000000)))
  sleep 0.3
done
echo "milliseconds from the rename to the written preview: ${figures[*]}"
sorted=($(printf '%s\n' "${figures[@]}" | sort -n))
echo "median ${sorted[$((rounds / 2))]} ms, largest ${sorted[$((rounds - 1))]} ms (settling 150 ms included)"
tail -n 2 log
