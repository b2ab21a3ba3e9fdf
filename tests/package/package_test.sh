#!/usr/bin/env bash
# Makes the Debian packages from a built tree (zel-monitor, libzelcom3, libzelcom-dev), checks
# them with lintian and their dependencies on the library's package, unpacks them into a
# temporary root and runs what they installed from there: a program built against the installed
# library with pkg-config, zelctl, and the monitor against the installed simulator. Nothing
# outside that root may be used, so the programs prove that they find their library under the
# prefix they were unpacked to.
set -euo pipefail

build=$1
version=$2
prefix=$3
# Debian's layout (the library in its multiarch folder) comes from a build configured for /usr.
if [ "$prefix" != /usr ]; then
  echo "SKIPPED: this build installs under $prefix; the Debian packages are made and checked" \
       "from a build configured with -DCMAKE_INSTALL_PREFIX=/usr (scripts/package, scripts/test)"
  exit 77
fi
work=$(mktemp -d)
sim=''
mon=''
cleanup() {
  [ -z "$mon" ] || kill "$mon" 2>/dev/null || true
  [ -z "$sim" ] || kill "$sim" 2>/dev/null || true
  wait
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits for a line in a file a background program writes, giving up after a minute.
wait_for() {
  local pattern=$1 file=$2
  for _ in $(seq 600); do
    grep -q "$pattern" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
debs=()
for name in zel-monitor libzelcom3 libzelcom-dev; do
  deb=$work/out/${name}_${version}_$(dpkg --print-architecture).deb
  [ -f "$deb" ] || fail "cpack did not make $(basename "$deb"); it made: $(ls "$work/out")"
  debs+=("$deb")
done
for deb in "${debs[0]}" "${debs[2]}"; do
  dpkg-deb -f "$deb" Depends | grep -qF "libzelcom3 (= $version)" ||
    fail "$(basename "$deb") does not depend on libzelcom3 (= $version): $(dpkg-deb -f "$deb" Depends)"
done

if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "${debs[@]}" || fail "lintian reports errors or warnings"
else
  echo "SKIPPED: lintian is not installed, so the package is not checked by it" \
       "(scripts/install-deps installs it)"
fi

root=$work/root
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
unset ZELMON_ZELCOM_LIBRARY LD_LIBRARY_PATH
usr=$root/usr
data=$usr/share/zel-monitor

"$usr/bin/zelsim" --scenario "$data/scenarios/demo.json" --tcp 0 >"$work/sim.out" 2>&1 &
sim=$!
wait_for '^ready' "$work/sim.out" || { cat "$work/sim.out" >&2; fail "the installed zelsim did not start"; }
port=$(awk '$1 == "tcp" {print $3}' "$work/sim.out")
export ZELCOM_TCP_PORT=$port

# The example, built against the installed header and library as the README says.
pc=$(dirname "$(find "$usr/lib" -name zelcom.pc)")
cc -o "$work/zelpeek" "$usr/share/doc/libzelcom-dev/examples/zelpeek.c" \
  $(PKG_CONFIG_PATH=$pc pkg-config --cflags --libs zelcom)
peek=$(LD_LIBRARY_PATH=$(dirname "$pc") "$work/zelpeek" tcp 127.0.0.1 7 4711)
[ "$peek" = "register 7 = 4711" ] || fail "zelpeek built with pkg-config printed: $peek"

read_back=$("$usr/bin/zelctl" tcp:127.0.0.1 --csv read 7 | tr -d '\r')
[ "$read_back" = "$(printf 'Register,Value\n7,4711')" ] || fail "the installed zelctl printed: $read_back"

cat >"$work/settings.ini" <<'PROFILE'
ZEL Monitor settings 1
[Software\Orvane\ZEL Monitor\Communications]
Adapter=1
BAUD Rate=19200
COMM Port=2
Host=32767
IP Address="127.0.0.1"
Target=1
Timeout=500
END
PROFILE
HOME=$work/home QT_QPA_PLATFORM=offscreen "$usr/bin/zelmon" --settings "$work/settings.ini" \
  --log "$work/zelmon.log" --load-remembered-files "$data/scenarios/demo.sym" \
  >"$work/mon.out" 2>&1 &
mon=$!
wait_for 'Connected to TCP/IP 127.0.0.1' "$work/mon.out" ||
  { cat "$work/mon.out" >&2; fail "the installed zelmon did not connect to the installed zelsim"; }
echo "The installed zelmon says: Connected to TCP/IP 127.0.0.1"
