#!/bin/bash
# Stops the Wine server of the prefix at $1, and with it every program still
# running there. Nothing running is not an error.
WINEPREFIX="$1" wineserver -k 2>/dev/null
WINEPREFIX="$1" wineserver -w 2>/dev/null
exit 0
