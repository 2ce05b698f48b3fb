#!/bin/sh
# Starts the control gallery under Wine, on Xvfb when there is no display.
# Arguments go to the program (--shot FILE.png saves the form and exits).
set -e
root=$(pwd)
export WINEPREFIX="$root/build/win64/wineprefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
exe="$root/build/win64/demo/lumio_gallery.exe"
if [ -n "$DISPLAY" ]; then
  exec "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe" "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe" "$@"
