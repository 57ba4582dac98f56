#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build -j "$(nproc)" --output-on-failure "$@"
