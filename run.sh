#!/bin/bash
# Builds VLRun32.dll and the command-line host, then calls the library:
#   ./run.sh                      a short demonstration of every export
#   ./run.sh EXPORT [ARG ...]     one call, e.g. ./run.sh GetFileName abc.txt
# Everything it needs is installed on first use (see setup.sh).
source "$(dirname "$0")/build.sh"
cmake --build build/win32 -j"$JOBS" --target VLRun32 vlcall >/dev/null
# The Wine server lingers a moment after the last program; let it end before
# the virtual display goes.
with_display bash -c 'build/win32/wine-run.sh build/win32/bin/vlcall.exe "$@"; s=$?
                      WINEPREFIX=$PWD/build/win32/wineprefix wineserver -w; exit $s' vlcall "$@"
