#!/usr/bin/env bash
# Takes the user guide's picture of an unsaved change: the sample workspace opened under a
# virtual X server with a window manager (so the title and its '*' show), a recolour made,
# then the context menu (Undo, recent files) and the question on leaving photographed.
# Usage: scripts/screenshot-undo.sh [output.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/editor-undo.png}
build=${TRELLISOR_BUILD:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target trellisor-editor-tour trellisor-workspace
workspace="$build/workspace"
"$build/tools/workspace/trellisor-workspace" "$workspace" >/dev/null
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
mkdir -p "$(dirname "$out")"
cd "$workspace"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  sh -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$0" "$1"' "$build/tools/editor-tour/trellisor-editor-tour" "$out"
echo "Wrote $out"
