#!/bin/sh
# Runs one Windows benchmark under Wine (needs the win64 build: make win64).
# Usage: bench-wine.sh <program under build/win64> <what it times>
root=$(pwd)
exe="$root/build/win64/$1"
if [ ! -f "$exe" ]; then
  echo "$2 under Wine: not measured (build win64 first)"
  exit 0
fi
export WINEPREFIX="$root/build/win64/wineprefix"
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe"
