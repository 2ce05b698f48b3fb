#!/bin/sh
# Runs every test: the native, fuzz and win64 trees in one CTest run, and the
# win32 tree (emulated 32-bit Wine) in another beside it. Each run has its own
# Xvfb at 24-bit depth, so the desktop tests of the two builds, which need the
# desktop alone, run at the same time. The two summaries are added up at the end.
set -e
root=$(pwd)
out=build/test-logs
mkdir -p build/all "$out"
{
  echo "subdirs(\"$root/build/native\")"
  [ -f build/fuzz/CTestTestfile.cmake ] && echo "subdirs(\"$root/build/fuzz\")"
  echo "subdirs(\"$root/build/win64\")"
} > build/all/CTestTestfile.cmake
jobs=${LUMIO_TEST_JOBS:-$(nproc)}

# run_group NAME CTEST_DIR WINE_ARGS SERVER: one CTest run on its own display.
# The prefix is made before CTest starts, so that its first start (slow on a
# busy machine) counts against no test's timeout. One wineserver lives through
# the whole run: with the default persistence it exits whenever no test happens
# to run, and the next tests race its shutdown.
run_group() {
  name=$1 dir=$2 emu=$3 server=$4; shift 4
  WINEPREFIX="$root/$dir/wineprefix" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    server=$1 emu=$2 dir=$3 jobs=$4; shift 4
    $emu "$WINEPREFIX" cmd /c exit >/dev/null 2>&1
    # Settings written while the prefix was made are kept only when its
    # server ends by itself.
    WINESERVER=$server "$server" -w
    WINESERVER=$server "$server" -p
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600 "$@"
    rc=$?
    WINESERVER=$server "$server" -k >/dev/null 2>&1
    exit $rc' run-tests "$server" "$emu" "$dir" "$jobs" "$@" >"$out/$name.log" 2>&1
}

set +e
run_group all build/all "$root/scripts/wine-emu.sh" /usr/lib/wine/wineserver64 "$@" &
pid_all=$!
pid_32=
if [ -f build/win32/CTestTestfile.cmake ]; then
  run_group win32 build/win32 "$root/scripts/wine-emu.sh --win32" /usr/lib/wine/wineserver64 "$@" &
  pid_32=$!
fi
wait $pid_all
rc_all=$?
rc_32=0
[ -n "$pid_32" ] && { wait $pid_32; rc_32=$?; }
set -e

passed=0 failed=0
for g in all win32; do
  [ -f "$out/$g.log" ] || continue
  echo "=== $g"
  cat "$out/$g.log"
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out/$g.log" | tail -n 1)
  if [ -n "$line" ]; then
    f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    t=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
    passed=$((passed + t - f)) failed=$((failed + f))
  else
    echo "$g: no summary (see $out/$g.log)"
    failed=$((failed + 1))
  fi
done
echo "tests: $passed passed, $failed failed"
[ $rc_all -eq 0 ] && [ $rc_32 -eq 0 ] && [ $failed -eq 0 ]
