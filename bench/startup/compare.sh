#!/usr/bin/env bash
# Start-up to the first painted frame and peak memory: the main window beside
# a minimal Qt window, alternating, under the offscreen platform and under
# Xvfb. Prints the median of each.
#   bash bench/startup/compare.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build-release}
runs=${2:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program opens db1.mdb beside itself.
cp "$build/bench/startup_dialvault" "$build/bench/startup_minimal" "$work/"
"$build/tools/dialvault-mkdb" --if-missing "$work/db1.mdb"

measure() { # program platform-wrapper...
  local program=$1; shift
  local start end memory
  start=$(date +%s%N)
  read -r end memory < <("$@" "$work/$program" 2>/dev/null)
  echo "$(( (end - start) / 1000 )) $memory"
}

run_platform() { # label wrapper...
  local label=$1; shift
  : > "$work/dialvault.txt"; : > "$work/minimal.txt"
  for _ in $(seq "$runs"); do
    measure startup_dialvault "$@" >> "$work/dialvault.txt"
    measure startup_minimal "$@" >> "$work/minimal.txt"
  done
  paste "$work/dialvault.txt" "$work/minimal.txt" | awk -v label="$label" '
    function median(v, n,  i, j, t) {
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      return v[int((n + 1) / 2)]
    }
    { dt[NR] = $1; dm[NR] = $2; mt[NR] = $3; mm[NR] = $4 }
    END {
      a = median(dt, NR); b = median(dm, NR); c = median(mt, NR); d = median(mm, NR)
      printf "%-10s dialvault %6.1f ms %6.1f MB | minimal %6.1f ms %6.1f MB | time %.2fx memory %.2fx\n",
        label, a / 1000, b / 1024, c / 1000, d / 1024, a / c, b / d
    }'
}

run_platform offscreen env QT_QPA_PLATFORM=offscreen

# One X server for every run, so that its own start-up is not counted.
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
run_platform xvfb env DISPLAY="$display" QT_QPA_PLATFORM=xcb
