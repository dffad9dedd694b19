#!/bin/bash
# Builds everything and runs every test: the DLL's conformance tests under
# 32-bit Wine, the pure text core natively with sanitizers, a bounded fuzzing
# run of the pure core, a check that the build is reproducible, and one run of
# the benchmark (its figures are printed, not judged).
# Everything it needs is installed on first use (see setup.sh).
source "$(dirname "$0")/build.sh"
cmake --build build/win32 -j"$JOBS"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$JOBS"

failed=()
step() {
    local name=$1
    shift
    echo
    echo "== $name =="
    "$@" || failed+=("$name")
}
step "Conformance tests under Wine" with_display ctest --test-dir build/win32 --output-on-failure
step "Pure core, native with sanitizers" ctest --test-dir build/native --output-on-failure
step "Fuzzing, ${VL_FUZZ_SECONDS:-30} s a target" tests/fuzz/run-fuzzers.sh "${VL_FUZZ_SECONDS:-30}"
step "Reproducible build" cmake/check-reproducible.sh
step "Benchmark (figures only)" ./bench.sh

echo
if [ ${#failed[@]} -eq 0 ]; then
    echo "test.sh: all steps passed"
else
    printf 'test.sh: FAILED: %s\n' "${failed[@]}"
    exit 1
fi
