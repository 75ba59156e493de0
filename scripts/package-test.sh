#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), installs it, runs what it
# installed as a user would, checks its manual pages and manual, and removes it
# again. Needs root (dpkg -i); needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if dpkg-query -W -f='${Status}' halvix 2>/dev/null | grep -q "install ok installed"; then
  echo "package-test: halvix is installed already; remove it first (dpkg -r halvix)" >&2
  exit 1
fi

scripts/package.sh
deb=$(ls "$PWD"/build-package/halvix_*.deb)
version=$(sed -n 's/^project(Halvix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
status=0
fail() { echo "package-test: FAIL: $*" >&2; status=1; }

echo "== install $deb"
export DEBIAN_FRONTEND=noninteractive
$sudo dpkg -i "$deb" || $sudo apt-get install -f -y --no-install-recommends
trap '$sudo dpkg -r halvix >/dev/null; echo "== removed halvix"' EXIT
dpkg-query -W -f='${Status}' halvix | grep -q "install ok installed" || { fail "not installed"; exit 1; }
dpkg -L halvix

echo "== the installed programs"
out=$(/usr/bin/halvix --version)
echo "$out"
[ "$out" = "halvix $version" ] || fail "halvix --version says '$out', not 'halvix $version'"
/usr/bin/halvix-sim --help | head -n 1 | grep -q '^Usage: halvix-sim' || fail "halvix-sim --help"
# The desktop entry's command starts the real program: on the simulated
# receiver it must still be running when stopped after a few seconds.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/halvix.desktop)
[ -x "/usr/bin/${exec_line%% *}" ] || fail "the desktop entry runs '$exec_line', which is not installed"
rc=0
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$(mktemp -d)" timeout 6 $exec_line --simulate 2>/dev/null || rc=$?
[ $rc -eq 124 ] || fail "'$exec_line --simulate' ended with status $rc before it was stopped"

echo "== the monitor and its service"
out=$(/usr/bin/halvix-monitor --version)
[ "$out" = "halvix-monitor $version" ] || fail "halvix-monitor --version says '$out'"
unit=/lib/systemd/system/halvix-monitor.service
[ -f "$unit" ] || fail "no $unit"
grep -q '^RestartPreventExitStatus=78$' "$unit" || fail "$unit does not keep a bad configuration down"
[ -f /etc/halvix/monitor.toml ] || fail "no /etc/halvix/monitor.toml"
dpkg-query --control-show halvix conffiles | grep -q '^/etc/halvix/monitor.toml$' || fail "monitor.toml is not a conffile"
id -nG halvix | grep -qw dialout || fail "the system user halvix is not in the dialout group"
# The shipped configuration watches nothing, and says so, on loopback.
log=$(mktemp)
rc=0; timeout 3 /usr/bin/halvix-monitor --config=/etc/halvix/monitor.toml --listen=127.0.0.1:39468 2>"$log" || rc=$?
[ $rc -eq 124 ] || fail "halvix-monitor on the shipped configuration ended with $rc: $(cat "$log")"
grep -q "nothing to watch" "$log" || fail "halvix-monitor did not say there is nothing to watch"
printf '[[receiver]]\nname = "a"\n' >"$log.toml"
rc=0; /usr/bin/halvix-monitor --config="$log.toml" 2>/dev/null || rc=$?
[ $rc -eq 78 ] || fail "halvix-monitor on a receiver without a port ended with $rc, not 78"
rm -f "$log" "$log.toml"

if [ -x /usr/bin/halvix-decode ]; then
  # A two-packet recording: report 0x41 (GPS time) and one with a wrong length.
  rec=$(mktemp --suffix=.qlp)
  printf '\x10\x41\x3f\x80\x00\x00\x07\xd0\x41\x90\x00\x00\x10\x03' >"$rec"
  /usr/bin/halvix-decode "$rec" >/dev/null || fail "halvix-decode of a clean recording ended with $?"
  printf '\x10\x41\x3f\x80\x00\x10\x03' >>"$rec"
  rc=0; /usr/bin/halvix-decode "$rec" >/dev/null || rc=$?
  [ $rc -eq 1 ] || fail "halvix-decode of a short 0x41 ended with $rc, not 1"
  rc=0; /usr/bin/halvix-decode "$rec.none" >/dev/null 2>&1 || rc=$?
  [ $rc -eq 2 ] || fail "halvix-decode of a missing file ended with $rc, not 2"
  rm -f "$rec"
else
  echo "package-test: halvix-decode is not in the package; skipped"
fi

echo "== installed icons, manual pages and manual"
for side in 48 128 256; do
  png=/usr/share/icons/hicolor/${side}x${side}/apps/halvix.png
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$size" = "${side}x${side}" ] || fail "$png is $size"
done
[ -s /usr/share/icons/hicolor/scalable/apps/halvix.svg ] || fail "no SVG icon"
pages=$(dpkg -L halvix | grep '^/usr/share/man/man1/.*\.1\.gz$' || true)
[ -n "$pages" ] || fail "no manual pages installed"
# shellcheck disable=SC2086
packaging/check-docs.sh /usr/share/doc/halvix/manual.html $pages || fail "manual pages or manual"
if command -v man >/dev/null; then
  for page in $pages; do
    name=$(basename "$page" .1.gz)
    man -w "$name" >/dev/null || fail "man $name finds no page"
  done
fi
exit $status
