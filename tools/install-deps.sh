#!/usr/bin/env bash
# Installs what Dialvault needs to build, test (clang for the fuzz targets)
# and run on Debian 12, then fetches the interface font.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

packages=(
  g++ cmake make pkg-config clang-format clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
  libsqlite3-dev sqlite3 libbenchmark-dev libicu-dev
  mdbtools-dev libmdb3 libglib2.0-dev
  postgresql postgresql-client libpq-dev
  qtkeychain-qt6-dev radicale apache2-utils
  desktop-file-utils appstream dpkg-dev file python3
  xvfb xauth
  qt6-wayland weston xdotool
  poppler-utils
)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

bash "$here/fetch-font.sh"
