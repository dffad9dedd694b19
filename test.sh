#!/bin/bash
# Builds everything and runs every test: the DLL's conformance tests under
# 32-bit Wine, and the pure text core natively with sanitizers.
# Everything it needs is installed on first use (see setup.sh).
source "$(dirname "$0")/build.sh"
cmake --build build/win32 -j"$JOBS"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$JOBS"

status=0
echo "== Windows build, under Wine =="
with_display ctest --test-dir build/win32 --output-on-failure || status=1
echo "== Pure core, native =="
ctest --test-dir build/native --output-on-failure || status=1
exit $status
