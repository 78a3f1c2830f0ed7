#!/usr/bin/env bash
# Builds both Linux plug-ins, the CLAP library, pevo-host and pevo-loudness, and the Windows
# DLLs and CLAP libraries, then packages them into build/packages: a Debian package of the
# plug-ins and the programs, and a zip of the four DLLs and both Pevo.clap files.
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux windows
jobs=$(nproc)
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs" --target Pevo PevoLoudness PevoClap pevo-host pevo-loudness \
    pevo-man-pages pevo-changelog
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" --target Pevo PevoLoudness PevoClap
done
cpack --config build/linux/CPackConfig.cmake -B build/packages
# Either Windows build's package takes the DLLs of both.
cpack --config build/win64/CPackConfig.cmake -B build/packages
