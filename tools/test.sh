#!/usr/bin/env bash
# Installs, builds and runs the whole test suite; exits non-zero if a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
bash tools/check-format.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
bash ../tools/check-install.sh .
