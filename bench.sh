#!/bin/bash
# Builds the library and runs its benchmark under Wine, printing the figures:
# the file-name split against msvcrt's _splitpath, the cost of each calling
# convention's entry, the DLL's size and imports.
source "$(dirname "$0")/build.sh"
cmake --build build/win32 -j"$JOBS" --target VLRun32 vlbench >/dev/null
with_display bash -c 'build/win32/wine-run.sh build/win32/bin/vlbench.exe; s=$?
                      WINEPREFIX=$PWD/build/win32/wineprefix wineserver -w; exit $s' 2>/dev/null
