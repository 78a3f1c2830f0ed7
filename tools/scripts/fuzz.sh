#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs them two at a time over their committed corpora for a bounded time. New inputs go to
# build/fuzz/runs/TARGET, findings to build/fuzz/runs/TARGET-crash-* and the like; the
# script fails when a target found something.
# Usage: fuzz.sh [SECONDS]   (per target; default 60)
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
bash tools/scripts/deps.sh linux fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

runs=build/fuzz/runs
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
targets=(boundary lifecycle loudness-boundary loudness-lifecycle clap-boundary clap-lifecycle)
status=0
for pair in "boundary lifecycle" "loudness-boundary loudness-lifecycle" "clap-boundary clap-lifecycle"; do
    pids=()
    for target in $pair; do
        mkdir -p "$runs/$target"
        build/fuzz/tests/fuzz/pevo-fuzz-$target -max_total_time="$seconds" \
            -print_final_stats=1 -artifact_prefix="$runs/$target-" "$runs/$target" \
            "tests/fuzz/corpus/$target" >"$runs/$target.log" 2>&1 &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || status=1
    done
done
for target in "${targets[@]}"; do
    echo "-- $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$runs/$target.log" || echo 'stopped')"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|fault:)' "$runs/$target.log" || true
done
exit $status
