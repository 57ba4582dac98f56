#!/usr/bin/env bash
# indexer_bench.sh [BUILD_DIR] [RUNS]: the installed indexer (index plus the first audio track)
# against ffmpeg demultiplexing the same streams (-map 0:v -map 0:a:0 -c copy -f null -), in the
# same run, on the longest generated test title and on that title repeated to about 240 MB (the
# test titles last seconds, so the first figure is mostly the programs' start-up). Prints each
# median wall time of RUNS alternating runs (default 9) and the ratio indexer/ffmpeg; the goal is
# a ratio of at most 1.0. The files are read from the page cache after a first read.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-9}
exe=$build/dist/DVD2AVI/DVD2AVIdg.exe
cmake --install "$build" --prefix "$build/dist" >/dev/null
bash "$root/tests/media/make_dvd_titles.sh" "$build/media/dvd"
vob=$(ls -S "$build"/media/dvd/*/rip/VTS_*_1.VOB | head -1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/long"
for _ in $(seq 200); do cat "$vob"; done >"$work/long/VTS_01_1.VOB"

source "$(dirname "$0")/timing.sh"

compare() {
  local label=$1 input=$2 ours=() theirs=()
  cat "$input" >/dev/null
  for _ in $(seq "$runs"); do
    ours+=("$(micros "$exe" "-AIF=[$input]" -IA=3 -FO=0 -YR=1 -TN=1 -OM=1 -DRC=0 -DSD=0 -DSA=0 \
      "-OF=[$work/out]" -Exit)")
    theirs+=("$(micros ffmpeg -v quiet -i "$input" -map 0:v -map 0:a:0 -c copy -f null -)")
  done
  local a b
  a=$(printf '%s\n' "${ours[@]}" | median)
  b=$(printf '%s\n' "${theirs[@]}" | median)
  awk -v l="$label" -v s="$(stat -c %s "$input")" -v a="$a" -v b="$b" 'BEGIN {
    printf "%-34s %8.1f MB  indexer %8.3f s  ffmpeg %8.3f s  ratio %.2f\n",
      l, s / 1e6, a / 1e6, b / 1e6, a / b }'
}

compare "$(basename "$(dirname "$(dirname "$vob")")")/$(basename "$vob")" "$vob"
compare "the same, 200 times over" "$work/long/VTS_01_1.VOB"
