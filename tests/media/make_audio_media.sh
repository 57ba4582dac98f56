#!/usr/bin/env bash
# make_audio_media.sh OUTDIR: audio tracks as the indexer leaves them in the temporary folder,
# demultiplexed from the DVD titles of make_dvd_titles.sh (AC3 and MPEG audio copied, LPCM
# decoded to WAV) and made with ffmpeg for the checks that need known content. Made once: a
# second call returns at once while OUTDIR/.stamp matches this script. Exit status 77 when a tool
# is missing. See README.md beside this script for what each file holds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/made_once.sh"
made_from=("$here/make_dvd_titles.sh")
made_once "$1" ffmpeg ffprobe
dvd=$(dirname "$out")/dvd
bash "$here/make_dvd_titles.sh" "$dvd"
find "$out" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} +

# The audio's start against the video's, in whole milliseconds, as the file name carries it.
delay() {
  local vob=$1 track=$2 v a
  v=$(ffprobe -v error -select_streams v:0 -show_entries stream=start_time -of csv=p=0 "$vob")
  a=$(ffprobe -v error -select_streams "a:$track" -show_entries stream=start_time -of csv=p=0 "$vob")
  awk -v a="$a" -v v="$v" 'BEGIN { d = (a - v) * 1000; printf "%d", d < 0 ? d - 0.5 : d + 0.5 }'
}

# demux VOB TRACK NAME WHAT EXT [CODEC]: audio track TRACK (0-based), named as the indexer names
# it, copied as it is or, given a CODEC, decoded.
demux() {
  local vob=$1 track=$2 name=$3 what=$4 ext=$5 codec=${6:-copy}
  local file="$out/$name $what DELAY $(delay "$vob" "$track")ms.$ext"
  ffmpeg -v error -y -i "$vob" -map "0:a:$track" -c:a "$codec" -f "${ext/mpa/mp2}" "$file" \
    2>>"$out/ffmpeg.log"
}

pal=$dvd/pal_wide/rip/VTS_01_1.VOB
demux "$pal" 0 "ac3_20 T01" "2_0ch 192Kbps" ac3
demux "$pal" 1 "mpa_20 T02" "MPEG 2ch" mpa
demux "$pal" 2 "lpcm_20 T03" "LPCM 2ch" wav pcm_s16le
demux "$dvd/ntsc_sets/rip/VTS_01_1.VOB" 0 "ac3_51 T01" "3_2ch 192Kbps" ac3
demux "$dvd/ntsc_sets/rip/VTS_02_1.VOB" 0 "mpa_10 T01" "MPEG 1ch" mpa

# tones_51: 5.1 at full scale, a tone of its own on every channel (FL 300 Hz, FR 500, FC 700,
# LFE 60, SL 1100, SR 1300), for the downmix and the clipping check.
tones=""
for f in 300 500 700 60 1100 1300; do tones+="${tones:+|}sin(2*PI*$f*t)"; done
ffmpeg -v error -y -f lavfi -i "aevalsrc=$tones:s=48000:d=3:c=5.1(side)" -c:a ac3 -b:a 448k \
  "$out/tones_51 T01 3_2ch 448Kbps DELAY 0ms.ac3"

# noise_20: independent noise on both channels, which makes the encoder spend its bitrate; and
# copies damaged in the middle: bytes of one frame's body overwritten, and one frame's sync word
# destroyed (frames of 1792 bytes at 448 kbit/s).
noise="$out/noise_20 T01 2_0ch 448Kbps DELAY 0ms.ac3"
ffmpeg -v error -y -f lavfi -i "anoisesrc=color=white:amplitude=0.4:d=4:seed=1" \
  -f lavfi -i "anoisesrc=color=pink:amplitude=0.5:d=4:seed=2" \
  -filter_complex "[0][1]join=inputs=2:channel_layout=stereo,aresample=48000" -c:a ac3 -b:a 448k \
  "$noise"
cp "$noise" "$out/damaged_body T01 2_0ch 448Kbps DELAY 0ms.ac3"
head -c 64 /dev/zero | dd of="$out/damaged_body T01 2_0ch 448Kbps DELAY 0ms.ac3" bs=1 \
  seek=$((60 * 1792 + 300)) conv=notrunc status=none
cp "$noise" "$out/damaged_sync T01 2_0ch 448Kbps DELAY 0ms.ac3"
head -c 2 /dev/zero | dd of="$out/damaged_sync T01 2_0ch 448Kbps DELAY 0ms.ac3" bs=1 \
  seek=$((70 * 1792)) conv=notrunc status=none

# click: a 1 kHz burst that starts at sample 24000 of a second of silence, for the timing check.
ffmpeg -v error -y -f lavfi -i "aevalsrc='if(between(n,24000,24200),0.8*sin(2*PI*1000*t),0)':s=48000:d=1" \
  -ac 2 -c:a pcm_s16le "$out/click T01 LPCM 2ch DELAY 0ms.wav"

echo "$stamp" >"$out/.stamp"
