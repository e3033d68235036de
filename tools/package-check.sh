#!/usr/bin/env bash
# Builds the Debian package and tries it as an operator's PC would get it:
# unpacked into a temporary root, the program runs offscreen against the
# unpacked virtual sensor (link check, F11 live data, F12, closing with 0);
# then lintian, desktop-file-validate, appstreamcli, and the package's
# dependencies against what ldd shows.
#   package-check.sh [BUILD_DIR]   (default: build, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${1:-build}")
DRIVE="$BUILD_DIR/bin/corvel_drive.so"
fail() {
  echo "package-check: $*" >&2
  exit 1
}
step() { echo "== $* ($(date +%T))"; }

step "package"
cmake --build "$BUILD_DIR" --target corvel-scope corvel-virtual-sensor corvel-rec2csv corvel-ctl corvel-report corvel_drive corvel_packaging_files
rm -f "$BUILD_DIR"/corvel-scope_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD_DIR"/corvel-scope_2.0.*.deb)
echo "$DEB"

TMP=$(mktemp -d /tmp/corvel-package-XXXXXX)
SENSOR_PID=
cleanup() {
  if [ -n "$SENSOR_PID" ] && kill -0 "$SENSOR_PID" 2>/dev/null; then
    kill -TERM "$SENSOR_PID" 2>/dev/null || true
    wait "$SENSOR_PID" 2>/dev/null || true
  fi
  rm -rf "$TMP"
}
trap cleanup EXIT
ROOT="$TMP/root"
dpkg-deb -x "$DEB" "$ROOT"
for f in usr/bin/corvel-scope usr/bin/corvel-virtual-sensor usr/bin/corvel-rec2csv usr/bin/corvel-ctl usr/bin/corvel-report \
  usr/share/man/man1/corvel-ctl.1.gz usr/share/man/man1/corvel-report.1.gz usr/share/bash-completion/completions/corvel-ctl \
  usr/share/corvel-scope/CorvelV20.uir usr/share/applications/corvel-scope.desktop \
  usr/share/icons/hicolor/scalable/apps/corvel-scope.svg usr/share/metainfo/com.corvel.scope.metainfo.xml \
  usr/share/man/man1/corvel-scope.1.gz usr/share/doc/corvel-scope/copyright; do
  [ -e "$ROOT/$f" ] || fail "$f is missing from the package"
done

step "unpacked program against the unpacked virtual sensor"
export HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/config"
unset XDG_DOCUMENTS_DIR
mkdir -p "$HOME"
"$ROOT/usr/bin/corvel-virtual-sensor" --com 1 --state-file "$TMP/state" 2>"$TMP/sensor.log" &
SENSOR_PID=$!
for _ in $(seq 100); do
  [ -e "$XDG_CONFIG_HOME/corvel-scope/dosdevices/com1" ] && break
  sleep 0.05
done
[ -e "$XDG_CONFIG_HOME/corvel-scope/dosdevices/com1" ] || fail "the virtual sensor did not publish COM1"
status=0
(cd "$TMP" && QT_QPA_PLATFORM=offscreen LD_PRELOAD="$DRIVE" timeout 60 "$ROOT/usr/bin/corvel-scope") \
  2>"$TMP/program.log" || status=$?
cat "$TMP/program.log"
[ "$status" -eq 0 ] || fail "corvel-scope ended with $status"
grep -q "^drive: closing the main panel" "$TMP/program.log" || fail "the main panel was not operated"
grep -q "^drive: status CORVEL GLOSS SENSOR VIRTUAL" "$TMP/program.log" || fail "the link check did not pass"
received=$(grep '^received' "$TMP/state")
frames=$(awk '/^frames/ {print $2}' "$TMP/state")
echo "sensor: $received; data frames $frames"
[[ " $received " == *" 7:"* ]] || fail "no link check reached the sensor"
[ "$frames" -ge 5 ] || fail "F11 gave only $frames data frames"
# Installed layout: the operator's files go to the documents folder.
[ -d "$HOME/Documents/CORVEL-Scope" ] || fail "no documents folder for the operator's files"
step "unpacked corvel-ctl: info, and send --verify of the sensor's own parameters"
ctl="$ROOT/usr/bin/corvel-ctl"
ldd "$ctl" | grep -E 'libQt6(Gui|Widgets)|libX11|libxcb' && fail "corvel-ctl links a GUI library"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$ctl" --com 1 info) || fail "corvel-ctl info ended with $?"
[[ "$version" == "CORVEL GLOSS SENSOR VIRTUAL"* ]] || fail "corvel-ctl info printed \"$version\""
"$ctl" --com 1 get --from eeprom -o "$TMP/params.dat" || fail "corvel-ctl get ended with $?"
[ "$(wc -l <"$TMP/params.dat")" -eq 140 ] || fail "corvel-ctl get wrote no parameter file"
"$ctl" --com 1 send "$TMP/params.dat" --to eeprom --verify || fail "corvel-ctl send --verify ended with $?"
echo "corvel-ctl: $version; send --verify passed"
kill -TERM "$SENSOR_PID"
wait "$SENSOR_PID" || fail "the virtual sensor did not end cleanly"
SENSOR_PID=
printf 'frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp\n' >"$TMP/want.csv"
"$ROOT/usr/bin/corvel-rec2csv" /dev/null | cmp -s - "$TMP/want.csv" || fail "corvel-rec2csv does not run"
# The report goes through the unpacked helper beside corvel-ctl, drawn without a display.
: >"$TMP/empty.dat"
env -u DISPLAY -u WAYLAND_DISPLAY "$ctl" report "$TMP/empty.dat" -o "$TMP/report.pdf" 2>/dev/null ||
  fail "corvel-ctl report ended with $?"
[ "$(head -c 5 "$TMP/report.pdf")" = "%PDF-" ] || fail "corvel-ctl report wrote no PDF"

step "lintian"
lintian_out=$(lintian --fail-on error --tag-display-limit 0 "$DEB" 2>&1) || {
  echo "$lintian_out"
  fail "lintian reports errors"
}
echo "${lintian_out:-no tags}"

step "desktop entry and metainfo"
desktop-file-validate "$ROOT/usr/share/applications/corvel-scope.desktop"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/com.corvel.scope.metainfo.xml"

step "dependencies against ldd"
depends=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $depends"
named=$(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' | sort -u)
# What installing the named packages brings along.
# shellcheck disable=SC2086
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances $named | grep -v '^ ' | sed 's/:.*//' | sort -u)
# Which package holds each library: one dpkg query for all of them.
declare -A libs owner needed
for bin in corvel-scope corvel-virtual-sensor corvel-rec2csv corvel-ctl corvel-report; do
  needed[$bin]=$(objdump -p "$ROOT/usr/bin/$bin" | awk '/NEEDED/ {print $2}')
  while read -r lib path; do
    [ -n "$path" ] && libs["$bin $lib"]=$path
  done < <(ldd "$ROOT/usr/bin/$bin" | awk '$2 == "=>" {print $1, $3} $1 ~ /^\// {print $1, $1}')
done
# Exact paths, with and without /usr (merged /usr or not).
patterns=$(for path in "${libs[@]}"; do
  echo "$path"
  echo "/usr${path#/usr}"
  echo "${path#/usr}"
done | sort -u)
# shellcheck disable=SC2086
while IFS= read -r line; do
  owner["$(basename "${line#*: }")"]=${line%%:*}
done < <(dpkg -S $patterns 2>/dev/null)
problems=0
for key in "${!libs[@]}"; do
  bin=${key%% *} lib=${key#* }
  pkg=${owner[$(basename "${libs[$key]}")]:-}
  if [ -z "$pkg" ]; then
    echo "$bin: $lib (${libs[$key]}) belongs to no package"
    problems=1
  elif grep -qx "$lib" <<<"${needed[$bin]}"; then
    # Linked directly: the package must name it.
    grep -qx "$pkg" <<<"$named" || {
      echo "$bin: $lib is in $pkg, which Depends does not name"
      problems=1
    }
  elif ! grep -qx "$pkg" <<<"$closure"; then
    echo "$bin: $lib is in $pkg, which the dependencies do not bring"
    problems=1
  fi
done
[ "$problems" -eq 0 ] || fail "dependencies do not cover what ldd shows"
echo "every library ldd shows is named or brought by Depends"
step "package check passed"
