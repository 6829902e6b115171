#!/usr/bin/env bash
# Rewrites the reference pictures and byte files under tests/data from the current code, for a
# change that is meant to alter them. Review the result (git status / git diff tests/data, and
# look at the pictures) before committing it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc)"
TRELLISOR_REFRESH_REFERENCES=1 ctest --test-dir "$root/build" -j "$(nproc)" "$@"
git -C "$root" status --short -- tests/data
