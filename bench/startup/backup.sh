#!/usr/bin/env bash
# Start-up with the day's backup due against start-up without it, over the
# same phone book of 1,000,000 entries, alternating in one run: the first
# painted frame (median), then how steady the window's event loop stays
# while the backup is made. Offscreen, and under Xvfb.
#   bash bench/startup/backup.sh [BUILD_DIR] [RUNS] [ENTRIES]
set -euo pipefail
build=$(realpath "${1:-build-release}")
runs=${2:-21}
entries=${3:-1000000}
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
program="$build/bench/startup_backup"
book="$work/book"
mkdir -p "$book"
"$build/tools/dialvault-mkdb" --if-missing "$book/db1.mdb"
sqlite3 "$book/db1.mdb" "
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $entries)
  INSERT INTO test(\"نام\", \"تلفن\", \"يادداشت\", \"رديف\")
  SELECT 'نام ' || i, '0912' || printf('%07d', i), 'يادداشت ' || (i % 97), i FROM n;"
echo "phone book: $entries entries, $(du -m "$book/db1.mdb" | cut -f1) MB"

today=$(date +%F)
due() { rm -rf "$book/backups"; }
not_due() { mkdir -p "$book/backups"; : > "$book/backups/db1-$today.mdb"; }

first_frame() { # prepare platform-wrapper...
  local prepare=$1; shift
  local start end memory
  "$prepare"
  start=$(date +%s%N)
  read -r end memory < <("$@" "$program" "$book" first-frame 2>/dev/null)
  echo "$(( (end - start) / 1000 ))"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_platform() { # label wrapper...
  local label=$1; shift
  : > "$work/due.txt"; : > "$work/not-due.txt"
  for _ in $(seq "$runs"); do
    first_frame due "$@" >> "$work/due.txt"
    first_frame not_due "$@" >> "$work/not-due.txt"
  done
  local a b
  a=$(median < "$work/due.txt"); b=$(median < "$work/not-due.txt")
  awk -v l="$label" -v a="$a" -v b="$b" 'BEGIN {
    printf "%-10s first frame: backup due %7.1f ms | not due %7.1f ms | %.2fx\n", l, a / 1000, b / 1000, a / b }'
  due
  read -r made wait_due < <("$@" "$program" "$book" steadiness 2>/dev/null)
  not_due
  read -r _ wait_idle < <("$@" "$program" "$book" steadiness 2>/dev/null)
  awk -v l="$label" -v m="$made" -v d="$wait_due" -v i="$wait_idle" 'BEGIN {
    printf "%-10s backup made in %.0f ms; longest wait of a 10 ms timer: %.1f ms while it ran, %.1f ms idle\n", l, m / 1000, d / 1000, i / 1000 }'
}

run_platform offscreen env QT_QPA_PLATFORM=offscreen

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
run_platform xvfb env DISPLAY="$display" QT_QPA_PLATFORM=xcb
