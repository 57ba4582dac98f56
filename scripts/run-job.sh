#!/usr/bin/env bash
# Installs, builds and runs one job with the headless program from the staged installation.
# Without arguments it works on a generated sample title; arguments go to movrex-cli as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build/dist
exec ./movrex-cli "$@"
