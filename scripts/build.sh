#!/usr/bin/env bash
# Configures and builds into build/ with both cores, then stages the installation in build/dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j "$(nproc)"
cmake --install build --prefix build/dist >/dev/null
