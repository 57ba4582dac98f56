#!/usr/bin/env bash
# Installs, builds and runs one job with the headless program from the staged installation.
# Without arguments it makes the sample title and converts it, then says what it made; arguments
# go to movrex-cli as they are (relative paths in them mean the folder this script was started
# from).
set -euo pipefail
export MOVREX_CALLER_DIR="$PWD"
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/install-deps.sh
bash scripts/build.sh
if [ $# -gt 0 ]; then
  cd build/dist
  exec ./movrex-cli "$@"
fi

# summary AVI TARGET_MB: what the job made, as ffprobe reads it.
summary() {
  local avi=$1 target=$2 size names
  size=$(stat -c %s "$avi")
  echo
  echo "Made:      $avi"
  awk -v s="$size" -v t="$target" 'BEGIN {
    printf "Size:      %d bytes, %.2f %% of the target of %d MB (%d bytes)\n", s, 100 * s / (t * 1048576), t, t * 1048576 }'
  ffprobe -v error -select_streams v -show_entries stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_frames \
    -of csv=p=0 "$avi" | awk -F, '{ split($5, r, "/"); printf "Video:     %s (%s) %dx%d, %.3f frames per second, %d frames\n", $1, $2, $3, $4, r[1] / r[2], $6 }'
  names=$(ffprobe -v error -show_entries format_tags=IAS1,IAS2 -of csv=p=0 "$avi")
  ffprobe -v error -select_streams a -show_entries stream=codec_name,sample_rate,channels,bit_rate -of csv=p=0 "$avi" |
    awk -F, -v names="$names" 'BEGIN { split(names, name, ",") } {
      printf "Audio %d:   %s, %d Hz, %d channels, %d kbit/s, \"%s\"\n", NR, $1, $2, $3, $4 / 1000, name[NR] }'
  ffprobe -v error -show_entries format=duration -of csv=p=0 "$avi" | awk '{ printf "Duration:  %.3f s\n", $1 }'
  echo "Job log:   ${avi%.avi}_mx.log"
}

# The sample: 11 s of NTSC film with soft pulldown, an English AC3 5.1 track and a French MPEG
# audio track, made by independent DVD tools (tests/media/make_e2e_titles.sh); converted with
# both tracks to 3 MB, a size the title can just reach at full resolution.
bash tests/media/make_e2e_titles.sh "$root/build/media/e2e"
title="$root/build/media/e2e/film/rip"
avi="$root/build/sample/film.avi"
target=3
mkdir -p "$root/build/sample"
cd build/dist
./movrex-cli --list-tracks "$title"
status=0
./movrex-cli --input "$title" --output "$avi" --overwrite --audio2 2 --size "$target" || status=$?
if [ "$status" -ne 0 ]; then
  echo "The job failed (exit status $status); its log: ${avi%.avi}_mx.log" >&2
  exit "$status"
fi
summary "$avi" "$target"
