#!/usr/bin/env bash
# Dialvault as a desktop installs it: the installed desktop entry and
# metainfo validated, the Debian package built and installed (into this
# machine on CI, which is thrown away after the run; into a scratch root
# elsewhere), and the installed program started once under Xvfb with its
# phone book in a scratch home, an entry added through the command line and
# found again.
#   bash tools/check-install.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-$(dirname "$0")/../build}")
cd "$(dirname "$0")/.."
app_id=org.dialvault.Dialvault
work=$(mktemp -d)
program_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }
step() { echo "check-install: $*"; }

step "installed files"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
share="$work/prefix/share"
desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/$app_id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
done
[ -f "$share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
[ -f "$share/dialvault/db1.mdb" ] || fail "no empty phone book in share/dialvault"
[ -x "$work/prefix/bin/dialvault" ] || fail "no program in bin"
grep -q '^License: GPL-3+$' "$share/doc/dialvault/copyright" || fail "no copyright in share/doc/dialvault"

step "Debian package"
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/dialvault_*.deb)
contents=$(dpkg-deb --contents "$deb")
grep -q ' ./usr/share/doc/dialvault/copyright$' <<<"$contents" || fail "the package has no copyright"
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6sql6-sqlite libqt6gui6 libqt6widgets6 libsqlite3-0; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
recommends=$(dpkg-deb --field "$deb" Recommends)
grep -q qt6-wayland <<<"$recommends" || fail "Recommends lacks qt6-wayland: $recommends"
# Every dependency can be met from Debian's own packages.
apt-get install --simulate -qq "$deb" >/dev/null || fail "dependencies cannot be met"

if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
  step "installing $(basename "$deb") into this machine"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  root=""
else
  step "unpacking $(basename "$deb") into a scratch root"
  dpkg-deb -x "$deb" "$work/root"
  root="$work/root"
fi
dialvault="$root/usr/bin/dialvault"

step "installed program in a scratch home"
home="$work/home"
mkdir -p "$home"
scratch_env=(env -u DIALVAULT_DATA_DIR -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home")
run() { "${scratch_env[@]}" "$@"; }
phone_book="$home/.local/share/Dialvault/db1.mdb"
where=$(run "$dialvault" --language en where)
grep -qxF "phone book: $phone_book" <<<"$where" || fail "not in installed use: $where"

display=:$((100 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
"${scratch_env[@]}" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$dialvault" >"$work/program.log" 2>&1 &
program_pid=$!
backup="$home/.local/share/Dialvault/backups/db1-$(date +%F).mdb"
# The day's backup follows the first frame: its file says the window showed.
for _ in $(seq 300); do
  [ -f "$backup" ] && break
  kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.log" >&2; fail "the program ended"; }
  sleep 0.1
done
[ -f "$phone_book" ] || fail "no phone book made in the scratch home"
[ -f "$backup" ] || fail "no backup of the day"
kill -0 "$program_pid" 2>/dev/null || fail "the program did not keep running"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""

step "the English built into the program"
head -1 <<<"$(run "$dialvault" --language fa --help)" | grep -q '^طرز استفاده' || fail "no Persian usage"
head -1 <<<"$(run "$dialvault" --language en --help)" | grep -q '^Usage:' || fail "no English usage"

step "an entry added through the command line and found again"
usage=$(run "$dialvault" --language en --help)
if grep -q '^  import' <<<"$usage" && grep -q '^  find' <<<"$usage"; then
  printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Check Install\r\nTEL;TYPE=CELL:0912 345 6789\r\nEND:VCARD\r\n' \
    >"$work/entry.vcf"
  run "$dialvault" import "$work/entry.vcf"
  found=$(run "$dialvault" find "Check Install") || fail "the entry was not found"
  grep -q "0912 345 6789" <<<"$found" || fail "the entry was not found: $found"
else
  # Until the program imports contacts files: a phone book holding the entry
  # is restored over the installed one, and read back.
  cp "$phone_book" "$work/entry.mdb"
  sqlite3 "$work/entry.mdb" \
    "INSERT INTO test(\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") VALUES ('Check Install', '0912 345 6789', '', 1)"
  run "$dialvault" restore "$work/entry.mdb"
  [ "$(sqlite3 "$phone_book" "SELECT \"تلفن\" FROM test WHERE \"نام\" = 'Check Install'")" = "0912 345 6789" ] ||
    fail "the entry was not found"
fi
step "passed"
