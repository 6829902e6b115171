#!/usr/bin/env bash
# Takes the user guide's picture of the Viewer: the sample workspace opened under a virtual X
# server with a window manager, the Viewer opened with the Scene and the sprite at 4x.
# Usage: scripts/screenshot-viewer.sh [output.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/viewer.png}
build=${TRELLISOR_BUILD:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target trellisor-viewer-tour trellisor-workspace
workspace="$build/workspace"
"$build/tools/workspace/trellisor-workspace" "$workspace" >/dev/null
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
mkdir -p "$(dirname "$out")"
cd "$workspace"
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" \
  sh -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$0" "$1"' "$build/tools/viewer-tour/trellisor-viewer-tour" "$out"
echo "Wrote $out"
