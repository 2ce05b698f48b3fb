#!/bin/sh
# Times LumioListBox against the system's list box under Wine (needs the win64 build: make win64).
root=$(pwd)
exe="$root/build/win64/tests/lists/list_paint_wine_bench.exe"
if [ ! -f "$exe" ]; then
  echo "list box under Wine: not measured (build win64 first)"
  exit 0
fi
export WINEPREFIX="$root/build/win64/wineprefix"
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe"
