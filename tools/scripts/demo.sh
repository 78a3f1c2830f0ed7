#!/usr/bin/env bash
# Builds the Linux plug-in and the bundled host, then meters a demo signal through it.
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target Pevo pevo-host
./build/linux/tools/host/pevo-host ./build/linux/Pevo.so "$@"
