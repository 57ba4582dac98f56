#!/usr/bin/env bash
# make_frameserver_clips.sh OUTDIR: raw clips for the frame server's tests while its decoder
# plugin does not exist, and ffmpeg's own resizes of them to compare ours with. Made once: a
# second call returns at once while OUTDIR/.stamp matches this script. Exit status 77 when ffmpeg
# is missing.
#   clip.y4m          352x240, 30000/1001, 200 frames of a moving test picture, top field first
#   lanczos.yuv       its first 4 frames through scale=480:272, Lanczos (3 taps), raw 4:2:0
#   bicubic.yuv       its first 4 frames through scale=240:160, bicubic b=1 c=0, raw 4:2:0
# (ffmpeg 5.1's scale filter cuts param0 and param1 to whole numbers, so b=0 c=0.5 cannot be
# asked of it; b=1 c=0 survives and still tells b from c.)
set -euo pipefail
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg
rm -f "$out"/*.y4m "$out"/*.yuv "$out/.stamp"
ffmpeg -v error -y -f lavfi -i "testsrc2=size=352x240:rate=30000/1001" -frames:v 200 \
  -vf setfield=tff -pix_fmt yuv420p -f yuv4mpegpipe "$out/clip.y4m"
ffmpeg -v error -y -i "$out/clip.y4m" -frames:v 4 -vf "scale=480:272:flags=lanczos" \
  -pix_fmt yuv420p -f rawvideo "$out/lanczos.yuv"
ffmpeg -v error -y -i "$out/clip.y4m" -frames:v 4 \
  -vf "scale=240:160:flags=bicubic:param0=1:param1=0" -pix_fmt yuv420p -f rawvideo \
  "$out/bicubic.yuv"
echo "$stamp" >"$out/.stamp"
