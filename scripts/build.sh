#!/bin/sh
# build.sh PRESET: configure and build quietly; the log is shown only on failure.
set -e
preset=$1
log=build/$preset.log
mkdir -p build
if ! { cmake --preset "$preset" && cmake --build --preset "$preset" ${LUMIO_JOBS:+-j"$LUMIO_JOBS"}; } >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "build of preset $preset failed (full log: $log)" >&2
  exit 1
fi
