#!/usr/bin/env bash
# Builds the Linux plug-in and pevo-host and both Windows DLLs, then packages them into
# build/packages: a Debian package of Pevo.so and pevo-host, and a zip of the two DLLs.
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux windows
jobs=$(nproc)
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs" --target Pevo pevo-host pevo-man-pages pevo-changelog
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" --target Pevo
done
cpack --config build/linux/CPackConfig.cmake -B build/packages
# Either Windows build's package takes the DLLs of both.
cpack --config build/win64/CPackConfig.cmake -B build/packages
