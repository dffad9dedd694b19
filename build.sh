#!/bin/bash
# Shared by run.sh and test.sh: set up the machine (once) and configure the
# 32-bit Windows build in build/win32. Sourced, not run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
if [ "$(id -u)" = 0 ]; then ./setup.sh; else sudo ./setup.sh; fi
JOBS=$(nproc)
cmake --no-warn-unused-cli -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null

# Wine's windows need a display; make a virtual one when there is none.
with_display() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}
