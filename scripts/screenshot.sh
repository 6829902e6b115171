#!/usr/bin/env bash
# Takes the README's screenshot: builds the editor and the sample workspace, opens
# SAMPLE.DAT in the editor under a virtual X server and lets the editor save its own
# window (--screenshot) as docs/screenshot.png once it has painted.
# Usage: scripts/screenshot.sh [output.png] [object file in the workspace]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
object=${2:-SAMPLE.DAT}
build=${TRELLISOR_BUILD:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target trellisor trellisor-workspace
workspace="$build/workspace"
stamp="$workspace/.generated-by"
generator="$build/tools/workspace/trellisor-workspace"
if [ ! -f "$stamp" ] || [ "$generator" -nt "$stamp" ]; then
  "$generator" "$workspace"
  touch "$stamp"
fi
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
mkdir -p "$(dirname "$out")"
cd "$workspace"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$build/src/app/trellisor" --screenshot "$out" "$object"
echo "Wrote $out"
