#!/usr/bin/env bash
# Runs every fuzz target of a DIALVAULT_FUZZ build for a while (30 s by
# default), starting from the files in tests/data, as many at once as there
# are processors; fails when one finds a crash, a leak, undefined behaviour
# or a hang. What a target finds is kept in BUILD_DIR/fuzz/findings/.
#   bash tools/fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$(realpath "$1")
seconds=${2:-30}
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
findings="$build/fuzz/findings"
mkdir -p "$findings"

# The seeds of each target: contacts files for the text readers and the
# cards. The wire and the server's answers have no files of their own; their
# frames and elements are few and simple enough to be found.
seeds() {
  case "$1" in
    fuzz_jetwire | fuzz_multistatus) ;;
    *) echo tests/data/interchange ;;
  esac
}

fuzz() {
  local name=$1
  mkdir -p "$work/$name"
  # shellcheck disable=SC2046
  if "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" \
    "$work/$name" $(seeds "$name") >"$work/$name.log" 2>&1; then
    echo "fuzz: $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$') runs, nothing found"
  else
    echo "fuzz: $name found a fault:" >&2
    tail -n 60 "$work/$name.log" >&2
    return 1
  fi
}

targets=(fuzz_contacts fuzz_vcard fuzz_csv fuzz_encodings fuzz_quotedprintable fuzz_jetwire fuzz_jettext
  fuzz_addresscard fuzz_multistatus)
jobs=$(nproc)
status=0
running=0
for name in "${targets[@]}"; do
  fuzz "$name" &
  if ((++running >= jobs)); then
    wait -n || status=1
    ((running--))
  fi
done
while ((running > 0)); do
  wait -n || status=1
  ((running--))
done
exit "$status"
