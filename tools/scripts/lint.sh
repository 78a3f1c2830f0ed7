#!/usr/bin/env bash
# Checks the project's own sources against its written rules: the layout of .clang-format
# and the naming of .clang-tidy (clang-tidy also reports clang's warnings, as errors).
# clang-tidy reads the Linux build's compile commands, so it sees what that build compiles;
# the Windows-only folders are held to the member rule by a plain search.
# Usage: tools/scripts/lint.sh [BUILD_FOLDER]   (default build/linux, configured if needed)
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/scripts/deps.sh linux lint
build=${1:-build/linux}
if [ ! -f "$build/compile_commands.json" ]; then
    cmake --preset linux >/dev/null
fi

mapfile -t sources < <(git ls-files '*.cpp' '*.h' | grep -v '^tests/fuzz/corpus/')
status=0
clang-format --dry-run --Werror "${sources[@]}" || status=1

# Generated sources (embedded bitmaps and corpora) live in the build folder: left out.
own="^$PWD/(plugin|engine|meter_level|meter_loudness|clap|lv2|gui|resources|loudness|tests|tools)/"
run-clang-tidy -p "$build" -j 2 -quiet -header-filter="$own" "$own" >"$build/lint.log" 2>&1 ||
    status=1
grep -E 'error:|warning:' "$build/lint.log" | sort -u || true

windows_only=$(git ls-files '*win32*' | grep -E '\.(cpp|h)$')
if grep -nE '\b[a-z][A-Za-z0-9]*_\b' $windows_only; then
    echo "lint: members end in an underscore above" >&2
    status=1
fi
exit $status
