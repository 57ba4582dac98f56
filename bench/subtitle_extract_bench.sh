#!/usr/bin/env bash
# subtitle_extract_bench.sh [BUILD_DIR] [RUNS]: the installed subtitle extractor (Configure through
# rundll32, three streams into an .idx/.sub pair) against ffmpeg demultiplexing the same
# subpicture streams (-map 0:s -c copy -f null -), in the same run, on the generated caption title
# and on its VOB repeated to about 240 MB with the IFO's chain made one cell over all of it (the
# title lasts seconds, so the first figure is mostly the programs' start-up). Prints each median
# wall time of RUNS alternating runs (default 9) and the ratio extractor/ffmpeg; the goal is a
# ratio of at most 1.0. The files are read from the page cache after a first read.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-9}
dist=$build/dist
cmake --install "$build" --prefix "$dist" >/dev/null
bash "$root/tests/media/make_subtitle_titles.sh" "$build/media/subtitles"
rip=$build/media/subtitles/pal_captions/rip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/long"
for _ in $(seq 200); do cat "$rip/VTS_01_1.VOB"; done >"$work/long/VTS_01_1.VOB"
cp "$rip/VTS_01_0.IFO" "$work/long/"

# Big-endian numbers in the IFO.
u() { od -An -tu1 -j"$2" -N"$3" "$1" | awk '{v = 0; for (i = 1; i <= NF; i++) v = v * 256 + $i; print v}'; }
put32() {
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($3 >> 24 & 255)) $(($3 >> 16 & 255)) \
    $(($3 >> 8 & 255)) $(($3 & 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
# The first chain: one cell from sector 0 to the end of the long VOB.
ifo=$work/long/VTS_01_0.IFO
table=$(($(u "$ifo" $((0xCC)) 4) * 2048))
chain=$((table + $(u "$ifo" $((table + 12)) 4)))
printf '\001' | dd of="$ifo" bs=1 seek=$((chain + 3)) conv=notrunc status=none
cells=$((chain + $(u "$ifo" $((chain + 0xE8)) 2)))
put32 "$ifo" $((cells + 8)) 0
put32 "$ifo" $((cells + 20)) $(($(stat -c %s "$work/long/VTS_01_1.VOB") / 2048 - 1))

source "$(dirname "$0")/timing.sh"

compare() {
  local label=$1 folder=$2 ours=() theirs=()
  printf '%s\r\n' "$folder/VTS_01_0.IFO" "$work/out" 1 0 "0 1 2 cc" CLOSE >"$work/vobsub.params"
  cat "$folder/VTS_01_1.VOB" >/dev/null
  for _ in $(seq "$runs"); do
    ours+=("$(micros "$dist/system/rundll32" "$dist/system/vobsub.dll,Configure" "$work/vobsub.params")")
    theirs+=("$(micros ffmpeg -v quiet -i "$folder/VTS_01_1.VOB" -map 0:s -c copy -f null -)")
  done
  [ -s "$work/out.idx" ] || { echo "the extractor wrote no index for $label" >&2; exit 1; }
  local a b
  a=$(printf '%s\n' "${ours[@]}" | median)
  b=$(printf '%s\n' "${theirs[@]}" | median)
  awk -v l="$label" -v s="$(stat -c %s "$folder/VTS_01_1.VOB")" -v a="$a" -v b="$b" 'BEGIN {
    printf "%-34s %8.1f MB  extractor %8.3f s  ffmpeg %8.3f s  ratio %.2f\n",
      l, s / 1e6, a / 1e6, b / 1e6, a / b }'
}

compare "pal_captions/VTS_01_1.VOB" "$rip"
compare "the same, 200 times over" "$work/long"
