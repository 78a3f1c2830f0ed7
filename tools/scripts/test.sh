#!/usr/bin/env bash
# Builds every variant of the plug-in and runs all of its tests.
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux
jobs=$(nproc)

run_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}

echo "== Linux plug-in"
run_preset linux

echo "== Linux, ThreadSanitizer"
run_preset tsan
