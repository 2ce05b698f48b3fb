#!/bin/sh
# Installs the Debian packages the builds and tests need; silent when all are there.
set -e
pkgs="cmake make g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
 wine wine64 libwine-dev xvfb xauth x11-apps imagemagick fonts-wqy-microhei fonts-liberation
 libz-mingw-w64-dev googletest libbenchmark-dev zlib1g-dev clang libclang-rt-14-dev
 opencc libopencc1.1 libpixman-1-dev libpng-dev libdeflate-dev libspng-dev
 python3 locales ccache"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# Wine maps non-ASCII file names through the Unix locale: without zh_CN.UTF-8 itself,
# Chinese file names fail under LC_ALL=zh_CN.UTF-8.
has_zh_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }
if [ -z "$missing" ] && has_zh_locale; then exit 0; fi
if [ "$(id -u)" != 0 ]; then
  echo "run as root, or install these packages first:$missing (and the zh_CN.UTF-8 locale)" >&2
  exit 1
fi
if [ -n "$missing" ]; then
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
has_zh_locale || localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
