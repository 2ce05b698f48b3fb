#!/bin/sh
# CTest's emulator for the Windows builds: wine-emu.sh [--win32] PREFIX program.exe args...
# Keeps one Wine prefix per build tree, set up once, with no crash dialogs.
# --win32 runs the program in the emulated 32-bit Wine that scripts/setup-wine32.sh makes.
if [ "$1" = --win32 ]; then
  shift
  top=${LUMIO_WINE32_ROOT:-/opt/lumio-wine32}
  if [ ! -f "$top/.ready" ]; then
    echo "wine-emu.sh: no 32-bit Wine in $top (run scripts/setup-wine32.sh)" >&2
    exit 127
  fi
  export WINEARCH=win32 WINELOADERNOEXEC=1 WINEDLLPATH="$top/root/usr/lib/i386-linux-gnu/wine" \
    WINESERVER=/usr/lib/wine/wineserver64
  wine=$top/root/usr/lib/wine/wine
  win32=1
else
  export WINEARCH=win64
  wine=/usr/lib/wine/wine64
  win32=
fi
prefix=$1; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
ready="$prefix/.lumio-ready-$WINEARCH"
if [ ! -f "$ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      # A prefix serves one architecture: one left by the other build is made anew.
      if [ -f "$prefix/system.reg" ]; then
        rm -rf "$prefix"
        mkdir -p "$prefix"
      fi
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
      "$wine" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
      if [ -n "$win32" ]; then
        # The root's fontconfig finds none of the host's fonts.
        fonts="$prefix/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        for f in /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/wqy/*.ttc; do
          [ -f "$f" ] && cp "$f" "$fonts/"
        done
        cp "$top/root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll" "$prefix/drive_c/windows/system32/"
      fi
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
if [ -p /dev/stdout ]; then
  # The Wine services a program starts outlive it and keep its standard
  # handles; given our pipe, they would keep its reader (CTest) waiting for
  # an end of output long after the program has exited. They get an unlinked
  # file instead, which tail copies into the pipe until the program exits.
  log=$(mktemp "${TMPDIR:-/tmp}/wine-emu.XXXXXX")
  exec 3>"$log" 4<"$log"
  rm -f "$log"
  tail -s 0.1 -n +1 -f --pid=$$ <&4 &
  exec 4<&-
  exec "$wine" "$@" >&3 2>&3 3>&-
fi
exec "$wine" "$@"
