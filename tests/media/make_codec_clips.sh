#!/usr/bin/env bash
# make_codec_clips.sh OUTDIR: raw I420 clips for the codec modules' tests and benchmark, made
# with ffmpeg's test sources. Made once: a second call returns at once while OUTDIR/.stamp
# matches this script. Exit status 77 when ffmpeg is missing. See README.md beside this script.
set -euo pipefail
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg
rm -f "$out"/*.yuv "$out/.stamp"

# short.yuv: 2 s of 320x176 at 25 fps, colourful and moving, for the mode tests.
ffmpeg -v error -y -f lavfi -i "testsrc2=size=320x176:rate=25" -t 2 -pix_fmt yuv420p \
  -f rawvideo "$out/short.yuv"

# movie.yuv: 20 s of 640x352 at 25 fps in four scenes of 5 s that compress very differently
# (a fractal zoom, a moving pattern under grain, sparse cellular life, a rotating chart), for the
# two-pass size tests and the benchmark.
ffmpeg -v error -y \
  -f lavfi -i "mandelbrot=size=640x352:rate=25" \
  -f lavfi -i "testsrc2=size=640x352:rate=25,noise=alls=10:allf=t:all_seed=5" \
  -f lavfi -i "life=size=320x176:rate=25:seed=7:mold=10:ratio=0.2:death_color=#C83232:life_color=#00ff00,scale=640x352:flags=neighbor" \
  -f lavfi -i "testsrc=size=960x528:rate=25,rotate=a=0.3*t:ow=640:oh=352" \
  -filter_complex "[0]trim=duration=5,format=yuv420p[a];[1]trim=duration=5,format=yuv420p[b];[2]trim=duration=5,format=yuv420p[c];[3]trim=duration=5,format=yuv420p[d];[a][b][c][d]concat=n=4:v=1:a=0" \
  -pix_fmt yuv420p -f rawvideo "$out/movie.yuv"

echo "$stamp" >"$out/.stamp"
