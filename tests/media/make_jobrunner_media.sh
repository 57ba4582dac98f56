#!/usr/bin/env bash
# make_jobrunner_media.sh OUTDIR [DIST]: a title whose picture and sound carry the same marks, for
# the job runner's sync checks: flash.y4m, a square that flashes white for the first 100 ms of
# every second, and audio tracks with a beep on every channel at those moments, named as the
# indexer names them with the delay in the name (AC3), and their MP3s made by the installed
# audio transcoder of DIST (default: the dist folder beside OUTDIR's parent, build/dist). Made
# once: a second call returns at once while OUTDIR/.stamp matches this script and the
# transcoder. Exit status 77 when a tool is missing. See README.md beside this script.
set -euo pipefail
dist=${2:-$(dirname "$(dirname "$1")")/dist}
besweet=$dist/BeSweet/BeSweet.exe
command -v ffmpeg >/dev/null || { echo "missing tool: ffmpeg" >&2; exit 77; }
[ -x "$besweet" ] || { echo "missing tool: $besweet (install the build first)" >&2; exit 77; }
source "$(dirname "$0")/made_once.sh"
made_from=("$besweet")
made_once "$1"
find "$out" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} +
mkdir -p "$out/cbr" "$out/vbr"
ff() { ffmpeg -nostdin -v error -y "$@"; }

# 8 s of PAL-rate video: a detailed moving picture (so that the codecs have work) with a black
# square in the middle that is white from 0 to 100 ms of every second.
box="x=126:y=94:w=100:h=100:t=fill"
ff -f lavfi -i "testsrc2=size=352x288:rate=25,drawbox=$box:color=black,drawbox=$box:color=white:enable='lt(mod(t\,1)\,0.1)'" \
  -t 8 -pix_fmt yuv420p -f yuv4mpegpipe "$out/flash.y4m"

# beep NAME CHANNELS LAYOUT RATE DELAY: 9 s of AC3 that plays DELAY ms after the video starts
# (the indexer's sense of the delay), so its beeps fall DELAY ms before each second of its own.
beep() {
  local name=$1 channels=$2 layout=$3 rate=$4 delay=$5 tone exprs=""
  tone="if(lt(mod(t+10+($delay)/1000\,1)\,0.1)\,0.5*sin(2*PI*1000*t)\,0)"
  for ((c = 0; c < channels; c++)); do exprs+="${exprs:+|}$tone"; done
  ff -f lavfi -i "aevalsrc=$exprs:s=48000:d=9:c=$layout" -c:a ac3 -b:a "$rate" "$out/$name"
}
# mp3 NAME KIND LAME: the transcoder's MP3 of the AC3 NAME, as the planner names it.
mp3() {
  local ac3=$out/$1 target=$out/$2/${1%.ac3}.mp3
  "$besweet" "-core(" -input "$ac3" -output "$target" -logfile "${target%.mp3}.log" ")" \
    "-ota(" -hybridgain ")" "-azid(" -L -3db -c normal ")" "-lame(" $3 ")" \
    "-profile(" Movrex ")" >/dev/null
}
for delay in 200 0 -200; do
  name="flash T01 AC3 2ch 48kHz 192Kbps DELAY ${delay}ms.ac3"
  beep "$name" 2 stereo 192k "$delay"
  mp3 "$name" vbr "-h -alt-preset 128"
  mp3 "$name" cbr "-h --cbr -b 128"
done
beep "flash T02 AC3 6ch 48kHz 448Kbps DELAY -40ms.ac3" 6 5.1 448k -40
echo "$stamp" >"$out/.stamp"
