#!/usr/bin/env bash
# Installs, builds and starts Dialvault.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
exec build/dialvault
