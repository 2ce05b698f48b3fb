#!/bin/sh
# One CTest run over the native, fuzz and win64 trees, so that a single summary counts them all.
# Wine needs an X display: one Xvfb at 24-bit depth serves every test.
set -e
root=$(pwd)
mkdir -p build/all
{
  echo "subdirs(\"$root/build/native\")"
  [ -f build/fuzz/CTestTestfile.cmake ] && echo "subdirs(\"$root/build/fuzz\")"
  echo "subdirs(\"$root/build/win64\")"
} > build/all/CTestTestfile.cmake
export WINEPREFIX="$root/build/win64/wineprefix"
# The prefix is made before CTest starts, so that its first start (slow on a busy
# machine) counts against no test's timeout.
# One wineserver lives through the whole run: with the default persistence it
# exits whenever no test happens to run, and the next tests race its shutdown.
# A Wine process that has finished every test sometimes never exits under
# parallel load; a test that timed out runs once more, so only a hang that
# repeats fails the run.
rc=0
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  /usr/lib/wine/wineserver -p
  scripts/wine-emu.sh "$WINEPREFIX" cmd /c exit >/dev/null 2>&1
  exec ctest --test-dir build/all --output-on-failure -j"$(nproc)" --timeout 300 --repeat after-timeout:2 "$@"' run-tests "$@" || rc=$?
/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
exit $rc
