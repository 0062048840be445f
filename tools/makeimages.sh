#!/usr/bin/env bash
# Redraws every picture, icon and cursor in resources/ with the generator
# (tools/makeimages.cpp). Commit the generator together with its outputs: a
# test fails when the committed files differ from what it draws.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash tools/fetch-font.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target dialvault-makeimages
"$build/tools/dialvault-makeimages" resources
