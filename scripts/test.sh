#!/usr/bin/env bash
# Builds and runs every test: the warnings-as-errors build, the Debian package built from it
# and checked, the sanitizer build, and the fuzz targets (corpus replay plus a short fuzzing
# run each).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

echo "== build (warnings are errors)"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELLISOR_WERROR=ON >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Debian package (built from build/, checked without installing it)"
"$root/scripts/check-package.sh" "$root/build"

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRELLISOR_SANITIZE=ON \
  -DTRELLISOR_BENCH=OFF -DTRELLISOR_WERROR=ON >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

echo "== fuzz targets (clang, libFuzzer): corpus replay and a short run each"
CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRELLISOR_FUZZ=ON >/dev/null
cmake --build "$root/build-fuzz" -j "$jobs"
"$root/scripts/fuzz.sh" replay
"$root/scripts/fuzz.sh" run "${TRELLISOR_FUZZ_SECONDS:-15}"
echo "All test stages passed."
