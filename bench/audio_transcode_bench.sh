#!/usr/bin/env bash
# audio_transcode_bench.sh [DIST] [RUNS]: seconds to transcode 20 s of AC3 5.1 to VBR MP3 with
# the installed audio transcoder (the planner's command line, 128 kbit/s), against ffmpeg doing
# the same in the same run: once with its default encoder quality (the reference command) and
# once with the quality "-h" asks for (LAME's quality 2), which is the same work. Prints the
# median wall and processor seconds of RUNS runs (5) each, taken in turns, and the ratios.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:-$here/../build/dist}
runs=${2:-5}
transcoder=$dist/BeSweet/BeSweet.exe
[ -x "$transcoder" ] || { echo "no transcoder at $transcoder (build and install first)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 20 s of 5.1: a tone of its own and some noise on every channel, so that the encoder has work.
tones=""
for f in 300 500 700 60 1100 1300; do tones+="${tones:+|}0.5*sin(2*PI*$f*t)+0.2*(random(0)-0.5)"; done
ffmpeg -v error -y -f lavfi -i "aevalsrc=$tones:s=48000:d=20:c=5.1(side)" -c:a ac3 -b:a 448k \
  "$work/in.ac3"

ours() {
  "$transcoder" -core\( -input "$work/in.ac3" -output "$work/ours.mp3" -logfile "$work/ours.log" \) \
    -ota\( -hybridgain \) -azid\( -L -3db -c normal \) -lame\( -h -alt-preset 128 \) \
    -profile\( Movrex \) >/dev/null
}
reference() {
  ffmpeg -v error -y -i "$work/in.ac3" -ac 2 -c:a libmp3lame -abr 1 -b:a 128k "$work/ref.mp3"
}
same_quality() {
  ffmpeg -v error -y -i "$work/in.ac3" -ac 2 -c:a libmp3lame -abr 1 -b:a 128k \
    -compression_level 2 "$work/same.mp3"
}

# timed NAME: appends "wall cpu" of one run of NAME to $work/NAME.
timed() {
  local TIMEFORMAT="%R %U %S"
  { time "$1" 2>"$work/$1.err"; } 2>"$work/t"
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/t" >>"$work/$1"
}
for _ in $(seq "$runs"); do timed ours; timed reference; timed same_quality; done

median() { sort -n -k"$2" "$work/$1" | awk -v k="$2" '{ v[NR] = $k } END { print v[int((NR + 1) / 2)] }'; }
printf '%-40s %8s %8s\n' "median of $runs runs" "wall s" "cpu s"
for name in ours reference same_quality; do
  printf '%-40s %8s %8s\n' "$name" "$(median "$name" 1)" "$(median "$name" 2)"
done
ratio() { awk -v a="$(median ours "$2")" -v b="$(median "$1" "$2")" 'BEGIN { printf "%.2f", a / b }'; }
echo "ratio to the reference command:     wall $(ratio reference 1), cpu $(ratio reference 2) (goal: 1.10)"
echo "ratio to ffmpeg at the same quality: wall $(ratio same_quality 1), cpu $(ratio same_quality 2)"
