#!/bin/bash
# Builds the pure core's fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for SECONDS (default
# 30), starting from the seed inputs. Fails on any finding; the input that
# caused it is kept under build/fuzz/fuzz-findings/.
# Usage: tests/fuzz/run-fuzzers.sh [SECONDS]
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build/fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vl_fuzz -j"$(nproc)"

mkdir -p "$build/fuzz-findings" "$build/fuzz-logs"
status=0
summary=()
for source in "$root"/tests/fuzz/fuzz_*.cpp; do
    target=$(basename "$source" .cpp)
    corpus=$build/fuzz-corpus/$target
    log=$build/fuzz-logs/$target.log
    rm -rf "$corpus" && mkdir -p "$corpus"
    echo "== $target: ${seconds} s"
    if "$build/$target" -max_total_time="$seconds" -timeout=10 \
            -artifact_prefix="$build/fuzz-findings/$target-" \
            "$corpus" "$build/fuzz-seeds/$target" >"$log" 2>&1; then
        result=ok
    else
        result=FINDING
        status=1
        tail -n 40 "$log"
    fi
    # libFuzzer's last line: "Done N runs in S second(s)"
    done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 || true)
    runs=$(echo "$done_line" | awk '{print $2}')
    secs=$(echo "$done_line" | awk '{print $5}')
    summary+=("$(printf '%-24s %12s %8s  %s' "$target" "${runs:--}" "${secs:--}" "$result")")
done

echo
printf '%-24s %12s %8s  %s\n' target executions seconds result
printf '%s\n' "${summary[@]}"
exit $status
