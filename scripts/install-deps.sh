#!/bin/sh
# Installs the Debian packages the builds and tests need; silent when all are there.
set -e
pkgs="cmake make g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
 wine wine64 libwine-dev xvfb xauth x11-apps imagemagick fonts-wqy-microhei fonts-liberation
 libz-mingw-w64-dev googletest libbenchmark-dev zlib1g-dev clang libclang-rt-14-dev
 opencc libopencc1.1 libpixman-1-dev libpng-dev libdeflate-dev libspng-dev
 python3"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
if [ "$(id -u)" != 0 ]; then
  echo "run as root, or install these packages first" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends $missing >/dev/null
