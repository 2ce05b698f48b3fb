#!/bin/sh
# Makes the environment that runs 32-bit Windows programs on this x86-64 machine,
# which executes no 32-bit code itself: Debian's own 32-bit Wine, unpacked into an
# i386 root, run by a user-mode x86 emulator. Silent when it is already there.
#
#   LUMIO_WINE32_ROOT (default /opt/lumio-wine32):
#     root/            the i386 root (wine32, libwine and what they need)
#     qemu-i386        the emulator, from the next Debian release's qemu-user
#     .ready           the Wine version the root was made for
#
# Everything comes from Debian's packages. The mirror is the one this machine's
# own apt sources name, so no host name is written here.
set -e
top=${LUMIO_WINE32_ROOT:-/opt/lumio-wine32}
suite=bookworm
emu_suite=trixie

host_wine=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null || true)
if [ -z "$host_wine" ]; then
  echo "setup-wine32: wine64 is not installed" >&2
  exit 1
fi
if [ -f "$top/.ready" ] && [ "$(cat "$top/.ready")" = "$host_wine" ]; then
  exit 0
fi
if [ "$(id -u)" != 0 ]; then
  echo "setup-wine32: run as root to make $top" >&2
  exit 1
fi

mirror() {
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # The first stanza for the main archive (not the security one).
    awk '/^URIs:/ { u = $2 } /^Suites:/ { s = $0 }
         /^$/ { if (u != "" && s !~ /security/) { print u; exit } u = ""; s = "" }
         END { if (u != "" && s !~ /security/) print u }' "$f" | head -n 1
  done
  if [ -f /etc/apt/sources.list ]; then
    awk '$1 == "deb" && $0 !~ /security/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' /etc/apt/sources.list
  fi
}
url=$(mirror | head -n 1)
if [ -z "$url" ]; then
  echo "setup-wine32: no Debian mirror found in the apt sources" >&2
  exit 1
fi

echo "making the 32-bit Wine environment in $top (a few minutes)"
command -v debootstrap >/dev/null 2>&1 || {
  apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
}
work=$top.new
rm -rf "$work"
mkdir -p "$work"
root=$work/root

# The first stage only downloads the included packages: unpack every one.
debootstrap --foreign --arch=i386 --variant=minbase \
  --include=wine32,libwine "$suite" "$root" "$url" >"$work/debootstrap.log" 2>&1 || {
  tail -n 20 "$work/debootstrap.log" >&2
  exit 1
}
for deb in "$root"/var/cache/apt/archives/*.deb; do
  dpkg -x "$deb" "$root"
done
got=$(dpkg-deb -f "$root"/var/cache/apt/archives/wine32_*.deb Version)
if [ "$got" != "$host_wine" ]; then
  echo "setup-wine32: the mirror has wine32 $got, the host wine64 $host_wine" >&2
  exit 1
fi
rm -f "$root"/var/cache/apt/archives/*.deb
ldconfig -r "$root"

# This release's qemu is far too slow at starting Wine; the next one's static
# emulator runs here. A private apt state keeps the host's own untouched.
st=$work/apt
mkdir -p "$st/lists/partial" "$st/cache/archives/partial" "$st/prefs" "$st/dl"
: >"$st/status"
echo "deb $url $emu_suite main" >"$st/sources.list"
set -- -o Dir::State="$st" -o Dir::State::status="$st/status" -o Dir::Cache="$st/cache" \
  -o Dir::Etc::SourceList="$st/sources.list" -o Dir::Etc::SourceParts=/dev/null \
  -o Dir::Etc::Preferences=/dev/null -o Dir::Etc::PreferencesParts="$st/prefs" \
  -o APT::Architecture=amd64 -o APT::Architectures=amd64 -o APT::Sandbox::User=root
apt-get "$@" -qq update >/dev/null
(cd "$st/dl" && apt-get "$@" -qq download qemu-user >/dev/null)
dpkg -x "$st"/dl/qemu-user_*.deb "$st/qemu"
cp "$st/qemu/usr/bin/qemu-i386" "$work/qemu-i386"
rm -rf "$st"

# Wine starts its loader again for every new process: the loader's own path
# must lead back into the emulator.
mv "$root/usr/lib/wine/wine" "$root/usr/lib/wine/wine.real"
cat >"$root/usr/lib/wine/wine" <<EOF
#!/bin/sh
exec "$top/qemu-i386" -0 "$top/root/usr/lib/wine/wine" -L "$top/root" "$top/root/usr/lib/wine/wine.real" "\$@"
EOF
chmod +x "$root/usr/lib/wine/wine"
# user32 imports zlib1.dll.
cp /usr/i686-w64-mingw32/lib/zlib1.dll "$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"

rm -rf "$top"
mv "$work" "$top"
echo "$host_wine" >"$top/.ready"
