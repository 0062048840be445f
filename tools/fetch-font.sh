#!/usr/bin/env bash
# Fetches the Persian interface font (Vazirmatn UI, SIL Open Font License)
# into .cache/vazirmatn/, where the build embeds it. Every file is checked
# against its known SHA-256; a mismatch stops the set-up.
set -euo pipefail
cd "$(dirname "$0")/.."
version=33.0.3
dest=.cache/vazirmatn
declare -A wanted=(
  [misc/UI/fonts/ttf/Vazirmatn-UI-Regular.ttf]=4578e78d9e08828457af98d936e1eabb124d3583832f5b439d2e0f374692ed65
  [misc/UI/fonts/ttf/Vazirmatn-UI-Bold.ttf]=eabd4b4761a1513a9b83fa818baa8fcb67d833a8a4faf916c9e55fd603ab0781
  [OFL.txt]=17e355067c8284f47743a1ee3b1ef7ff684ff0601eda357f9353b10b3016ab31
)

verified() {
  for path in "${!wanted[@]}"; do
    local file="$dest/$(basename "$path")"
    [ -f "$file" ] || return 1
    echo "${wanted[$path]}  $file" | sha256sum --check --status || return 1
  done
}
verified && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "vazirmatn@$version" >/dev/null)
mkdir -p "$dest"
for path in "${!wanted[@]}"; do
  tar -xzf "$work/vazirmatn-$version.tgz" -C "$work" "package/$path"
  cp "$work/package/$path" "$dest/$(basename "$path")"
done
if ! verified; then
  echo "fetch-font: the downloaded Vazirmatn $version does not match its known checksums" >&2
  rm -rf "$dest"
  exit 1
fi
