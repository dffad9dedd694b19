#!/bin/bash
# Builds VLRun32.dll twice from scratch, in two build trees at different paths,
# and compares the two files: the same commit must give the same bytes.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tree in first second-tree; do
    cmake --no-warn-unused-cli -S "$source_dir" -B "$work/$tree" \
          -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-i686-mingw.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$work/$tree" -j"$(nproc)" --target VLRun32 >/dev/null
done
a=$(sha256sum < "$work/first/bin/VLRun32.dll" | cut -d' ' -f1)
b=$(sha256sum < "$work/second-tree/bin/VLRun32.dll" | cut -d' ' -f1)
echo "reproducible build: $a"
echo "                    $b"
if [ "$a" != "$b" ]; then
    echo "reproducible build: the two DLLs differ" >&2
    cmp -l "$work/first/bin/VLRun32.dll" "$work/second-tree/bin/VLRun32.dll" | head >&2
    exit 1
fi
echo "reproducible build: identical ($(stat -c %s "$work/first/bin/VLRun32.dll") bytes)"
