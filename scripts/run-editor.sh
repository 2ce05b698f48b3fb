#!/bin/sh
# Starts qvnedit.exe under Wine in samples/, on Xvfb when there is no display.
set -e
root=$(pwd)
export WINEPREFIX="$root/build/win64/wineprefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
exe="$root/build/win64/editor/app/qvnedit.exe"
cd "$root/samples"
[ -x "$root/scripts/make-samples.sh" ] && "$root/scripts/make-samples.sh" "$root/samples" >/dev/null 2>&1 || true
if [ -n "$DISPLAY" ]; then
  exec "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-emu.sh" "$WINEPREFIX" "$exe"
