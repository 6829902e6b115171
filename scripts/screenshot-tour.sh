#!/usr/bin/env bash
# Runs one of the documentation tours (tools/editor-tour, tools/viewer-tour) in the sample
# workspace under a virtual X server with a window manager (so titles and frames show); the
# tour drives the editor and photographs it into OUT.
# Usage: scripts/screenshot-tour.sh editor-tour|viewer-tour OUT.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tour=$1
out=$2
build=${TRELLISOR_BUILD:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "trellisor-$tour" trellisor-workspace
workspace="$build/workspace"
"$build/tools/workspace/trellisor-workspace" "$workspace" >/dev/null
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
mkdir -p "$(dirname "$out")"
cd "$workspace"
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" \
  sh -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$0" "$1"' "$build/tools/$tour/trellisor-$tour" "$out"
echo "Wrote $out"
