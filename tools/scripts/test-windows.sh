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
mkdir -p build
wine=tools/scripts/wine-run.sh

for preset in win32 win64; do
    echo "== $preset build"
    # The configuration's report is shown only when it fails.
    if ! cmake --preset "$preset" >"build/$preset-configure.log" 2>&1; then
        cat "build/$preset-configure.log"
        exit 1
    fi
    cmake --build --preset "$preset" -j "$jobs"
done

echo "== Wine prefix for the tests"
"$wine" --fresh
trap '"$wine" --stop' EXIT
"$wine" --start 2>&1
for preset in win32 win64; do
    echo "== $preset tests (Wine)"
    if [ "$preset" = win32 ] && ! "$wine" --can-run-32-bit; then
        # Said loudly, and the build above still has to succeed: the 32-bit plug-in is the
        # product, so its tests must run on any machine that can run them.
        echo "!! This machine's kernel runs no 32-bit programs: the win32 tests were built" \
            "but not run here."
        continue
    fi
    ctest --preset "$preset" -j "$jobs"
done
