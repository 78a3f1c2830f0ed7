#!/usr/bin/env bash
# Builds the Windows plug-ins (32-bit, the product, and 64-bit: the VST 2 DLLs and
# Pevo.clap) and runs their tests, the CLAP test host's among them,
# under Wine in a fresh prefix. Needs an X display for the window tests: without one
# it runs itself again under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

jobs=$(nproc)
wine=tools/scripts/wine-run.sh

for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

"$wine" --fresh
trap '"$wine" --stop' EXIT
"$wine" --start
for preset in win32 win64; do
    echo "== $preset tests (Wine)"
    ctest --preset "$preset" -j "$jobs"
done
