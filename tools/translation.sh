#!/usr/bin/env bash
# The English translation against the program's texts.
#   translation.sh update [LUPDATE]   reads every text of src/ into translations/dialvault_en.ts
#   translation.sh check [LUPDATE]    fails when reading them again would change that file,
#                                      or when a message is not translated
# Locations are left out of the file, so that moving a text changes nothing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-}"
lupdate="${2:-/usr/lib/qt6/bin/lupdate}"
ts="$root/translations/dialvault_en.ts"

read_texts() {
  "$lupdate" -silent -locations none -no-obsolete -source-language fa -target-language en \
    "$root/src" -ts "$1"
}

case "$mode" in
update)
  read_texts "$ts"
  ;;
check)
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' EXIT
  cp "$ts" "$scratch/dialvault_en.ts"
  read_texts "$scratch/dialvault_en.ts"
  if ! cmp -s "$ts" "$scratch/dialvault_en.ts"; then
    echo "translations/dialvault_en.ts is not up to date with the sources:" >&2
    diff -u "$ts" "$scratch/dialvault_en.ts" | head -60 >&2 || true
    echo "Run: cmake --build build --target update_translations, then translate." >&2
    exit 1
  fi
  if grep -n -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>|<numerusform></numerusform>' "$ts" >&2; then
    echo "translations/dialvault_en.ts has messages without English (above)." >&2
    exit 1
  fi
  echo "translations/dialvault_en.ts is up to date and complete."
  ;;
*)
  echo "usage: $0 update|check [LUPDATE]" >&2
  exit 2
  ;;
esac
