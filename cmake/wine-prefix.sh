#!/bin/bash
# Creates a 32-bit Wine prefix at $1 unless it is already there. Several test
# processes may ask at once, so the creation is done under a lock.
set -eu
prefix=$1
[ -f "$prefix/.vl-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.vl-ready" ] && exit 0
rm -rf "$prefix"
echo "wine-prefix: creating $prefix" >&2
WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wine wineboot -i >/dev/null 2>&1
# Unmanaged windows: without a window manager on the virtual display, Wine
# otherwise waits about 2 s for each message box to be mapped.
WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all \
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
touch "$prefix/.vl-ready"
