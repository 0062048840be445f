#!/usr/bin/env bash
# Installs the dependencies and builds everything into build/; arguments go
# to CMake's configure step (tools/test.sh adds -DDIALVAULT_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build build -j"$(nproc)"
