#!/usr/bin/env bash
# Builds the editor, generates the sample workspace and opens the editor on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target trellisor trellisor-cli trellisor-workspace
workspace="$root/build/workspace"
stamp="$workspace/.generated-by"
generator="$root/build/tools/workspace/trellisor-workspace"
if [ ! -f "$stamp" ] || [ "$generator" -nt "$stamp" ]; then
  "$generator" "$workspace"
  touch "$stamp"
fi
cd "$workspace"
exec "$root/build/src/app/trellisor" "$@"
