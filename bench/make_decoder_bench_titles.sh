#!/usr/bin/env bash
# make_decoder_bench_titles.sh OUTDIR: the decoder benchmark's own titles, longer than the test
# suite's, as DVD program streams of video alone (so that ffmpeg -i VOB -f null - decodes just
# what mpeg2source does). The video is multiplexed by ffmpeg itself: mplex finds the noisy
# pictures under-run its buffer model. Made once: a second call returns at once while OUTDIR/.stamp matches
# this script; the film takes mpeg2enc a minute or two.
#   video/VTS_01_1.VOB  30 s of NTSC 720x480 interlaced video, top field first, about 5 Mbit/s
#   film/VTS_01_1.VOB   20 s of 23.976 film coded by mpeg2enc with soft 3:2 pulldown, 6 Mbit/s
# Both carry light moving noise so that the bit rate is that of a real title.
set -euo pipefail
source "$(dirname "$0")/../tests/media/made_once.sh"
made_once "$1" ffmpeg mpeg2enc mplex
rm -rf "$out/video" "$out/film" "$out/.stamp"
mkdir -p "$out/video" "$out/film"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -v error -y -f lavfi -i "testsrc=size=720x480:rate=60000/1001" -t 30 \
  -vf "noise=alls=8:allf=t,tinterlace=interleave_top,setfield=tff" -pix_fmt yuv420p \
  -c:v mpeg2video -b:v 5M -maxrate 8M -bufsize 1835k -g 15 -bf 2 -flags +ildct+ilme -top 1 \
  -aspect 4:3 -f dvd "$out/video/VTS_01_1.VOB"

ffmpeg -v error -y -f lavfi -i "testsrc=size=720x480:rate=24000/1001" -t 20 \
  -vf "noise=alls=8:allf=t" -pix_fmt yuv420p -f yuv4mpegpipe - |
  mpeg2enc -v 0 -f 8 -n n -a 2 -p -b 6000 -r 0 -R 2 -o "$work/film.m2v" 2>/dev/null
mplex -v 0 -f 8 -o "$out/film/VTS_01_1.VOB" "$work/film.m2v"
echo "$stamp" >"$out/.stamp"
