#!/usr/bin/env bash
# Builds every variant of the plug-in and runs all of its tests.
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux display
jobs=$(nproc)

run_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs" -LE display
    # Window tests get a virtual X server of their own, one test at a time: they move the
    # pointer and must not touch a desktop the script happens to run on.
    xvfb-run -a ctest --preset "$1" -L display
}

echo "== Linux plug-in"
run_preset linux

echo "== Linux, ThreadSanitizer"
run_preset tsan

echo "== Linux, AddressSanitizer and UndefinedBehaviorSanitizer"
run_preset asan

echo "== Fuzzing the plug-in boundary, a minute per target"
bash tools/scripts/fuzz.sh 60

echo "== Windows plug-ins"
bash tools/scripts/deps.sh windows display
bash tools/scripts/test-windows.sh
