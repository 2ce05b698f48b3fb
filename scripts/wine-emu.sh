#!/bin/sh
# CTest's emulator for the win64 build: wine-emu.sh PREFIX program.exe args...
# Keeps one Wine prefix per build tree, set up once, with no crash dialogs.
prefix=$1; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEARCH=win64
wine=/usr/lib/wine/wine64
if [ ! -f "$prefix/.lumio-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.lumio-ready" ]; then
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
      "$wine" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
      touch "$prefix/.lumio-ready"
    fi
  ) 9>"$prefix.lock"
fi
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
exec "$wine" "$@"
