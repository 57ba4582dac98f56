#!/usr/bin/env bash
# make_avi_files.sh OUTDIR: AVI files from an independent writer (ffmpeg) for the split-search
# tests, each with the packet list an independent reader (ffprobe) sees beside it as NAME.packets.
# Made once per OUTDIR; a second run finds them and returns at once. Several test processes may
# call this together: a lock lets one make the files while the others wait.
set -euo pipefail
out=$1
version=3
mkdir -p "$out"
exec 9>"$out/.lock"
flock 9
[ -f "$out/done.$version" ] && exit 0
command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null || {
  echo "ffmpeg and ffprobe are needed to make the test AVI files" >&2; exit 2; }
tmp="$out/tmp"
rm -rf "$tmp" "$out"/done.*
mkdir -p "$tmp"
ff() { ffmpeg -nostdin -v error -y "$@"; }
# Detailed moving content with noise, so that frames are large and sizes vary.
src() { echo "testsrc2=size=$1:rate=25,noise=alls=$2:allf=t"; }
tone="sine=frequency=440:sample_rate=48000"

# Video only, a key frame every 25 frames.
ff -f lavfi -i "$(src 352x288 10)" -t 12 -c:v mpeg4 -g 25 -bf 0 -q:v 3 "$tmp/gop25.avi"
# Video only, key frames forced at irregular places in one long group.
ff -f lavfi -i "$(src 352x288 15)" -t 10 -c:v mpeg4 -g 1000 -bf 0 -q:v 2 \
  -force_key_frames 0,0.52,1.96,2.0,4.4,7.88 "$tmp/forced.avi"
# AC3 audio chunks between the video chunks.
ff -f lavfi -i "$(src 352x288 10)" -f lavfi -i "$tone" -t 10 -c:v mpeg4 -g 30 -bf 0 -q:v 3 \
  -c:a ac3 -b:a 192k "$tmp/ac3.avi"
# MP3 audio: the writer also puts an empty video chunk in for a frame it skipped.
ff -f lavfi -i "$(src 352x288 10)" -f lavfi -i "$tone" -t 8 -c:v mpeg4 -g 20 -bf 0 -q:v 4 \
  -c:a libmp3lame -b:a 128k "$tmp/mp3.avi"
# Over 1.4 GiB, so that it has an "AVIX" RIFF with OpenDML indexes and makes three CD parts: a
# short clip of nearly uncompressed frames, copied over and over without coding it again.
ff -f lavfi -i "$(src 1280x720 60)" -f lavfi -i "$tone" -t 8 -c:v mpeg4 -g 300 -bf 0 -q:v 2 \
  -force_key_frames 0,1.48,3.2,3.24,6 -c:a ac3 "$tmp/clip.avi"
ff -stream_loop 6 -i "$tmp/clip.avi" -c copy "$tmp/big.avi"
rm -f "$tmp/clip.avi"

for f in "$tmp"/*.avi; do
  ffprobe -v error -show_entries packet=stream_index,dts,size,pos,flags -of compact=p=0 "$f" \
    >"${f%.avi}.packets"
done
mv "$tmp"/* "$out/"
rmdir "$tmp"
touch "$out/done.$version"
