#!/usr/bin/env bash
# Builds the Linux plug-in and the bundled host, then meters the demo signal through it with
# a peak hold of one second. Extra arguments go to pevo-host (an input file, options).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash tools/scripts/deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target Pevo pevo-host
./build/linux/tools/host/pevo-host --set Resp=0.5 --snapshot panel.png ./build/linux/Pevo.so "$@"
