#!/usr/bin/env bash
# Installs, builds and runs one job with the headless program from the staged installation.
# Without arguments it works on a generated sample title; arguments go to movrex-cli as they are
# (relative paths in them mean the folder this script was started from).
set -euo pipefail
export MOVREX_CALLER_DIR="$PWD"
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/install-deps.sh
bash scripts/build.sh
if [ $# -eq 0 ]; then
  # A short PAL title with three audio and three subtitle tracks, made by independent DVD tools.
  bash tests/media/make_dvd_titles.sh "$root/build/media/dvd"
  title="$root/build/media/dvd/pal_wide/rip"
  mkdir -p "$root/build/sample"
  cd build/dist
  ./movrex-cli --list-tracks "$title"
  exec ./movrex-cli --input "$title" --output "$root/build/sample/pal_wide.avi" --overwrite \
    --preset "1/4 CD (175Mb)"
fi
cd build/dist
exec ./movrex-cli "$@"
