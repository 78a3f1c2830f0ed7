#!/usr/bin/env bash
# Runs the figures program of this Windows build (under Wine) and that of the Linux
# build and compares their output. Skipped (77) when there is no Linux build.
# Usage: compare_figures.sh WINE_RUNNER WINDOWS_PROGRAM LINUX_PROGRAM OUTPUT_FOLDER
set -euo pipefail
runner=$1
windows_program=$2
linux_program=$3
folder=$4

if [ ! -x "$linux_program" ]; then
    echo "no Linux figures program at $linux_program: build the linux preset first"
    exit 77
fi
"$linux_program" >"$folder/figures-linux.txt"
"$runner" "$windows_program" | tr -d '\r' >"$folder/figures-windows.txt"
if ! cmp -s "$folder/figures-linux.txt" "$folder/figures-windows.txt"; then
    echo "FAIL: the figures differ from Linux (< Linux, > Windows):"
    diff "$folder/figures-linux.txt" "$folder/figures-windows.txt" | head -20
    exit 1
fi
echo "$(grep -vc '^#' "$folder/figures-linux.txt") lines of readings agree with Linux"
