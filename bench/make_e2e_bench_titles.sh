#!/usr/bin/env bash
# make_e2e_bench_titles.sh OUTDIR: the two titles of bench/e2e_vs_ffmpeg.sh, each authored as a
# one-title DVD and laid out as the ripper leaves it (OUTDIR/<title>/rip/), 30 s long:
#   film/        NTSC 720x480 4:3, 719 frames of 23.976 film coded by mpeg2enc with soft 3:2
#                pulldown (pure FILM to the planner), AC3 2.0
#   interlaced/  PAL 720x576 4:3, 750 frames woven top field first from 50 pictures a second,
#                coded as interlaced MPEG-2, AC3 2.0
# The picture is a slow pan over a textured still with a moving test pattern on it and light
# grain, so that the codecs spend a real title's bit rate. A black square in the middle turns
# white for 100 ms at the start of every second after the first (every 24th film frame; every
# 50th field), and the audio, brown noise under a 1 kHz beep, beeps at exactly those moments.
# Each title's OUTDIR/<title>/reference.lavfi is the ffmpeg filter graph of the pictures the
# output should show, before any coding: the film frames, and for the interlaced title the
# picture of each frame's first field. Made once: a second call returns at once while
# OUTDIR/.stamp matches this script (mpeg2enc takes about a minute). Exit status 77 when a tool
# is missing.
set -euo pipefail
seconds=30
convert=/usr/bin/convert  # the first convert on PATH may be a viewer's stand-in
source "$(dirname "$0")/../tests/media/made_once.sh"
made_once "$1" ffmpeg ffprobe mpeg2enc mplex dvdauthor "$convert"
find "$out" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} +
work=$out/.work
mkdir -p "$work"
trap 'echo "make_e2e_bench_titles.sh failed; the tools said:" >&2; tail -n 15 "$work"/*.log >&2' ERR
ff() { ffmpeg -nostdin -v error -y "$@"; }

# The still: a plasma cloud, lifted so that no row or column reads as a black border to a crop
# detector.
"$convert" -seed 7 -size 1600x576 plasma:fractal -blur 0x3 +level 18%,96% "$out/still.png"

# pictures RATE HEIGHT PERIOD FLASH: the filter graph of the moving picture at RATE pictures a
# second, HEIGHT lines, with the square white on the first FLASH of every PERIOD pictures from
# the second period on, endless (the caller trims it).
pictures() {
  local rate=$1 height=$2 period=$3 flash=$4 box="x=iw/2-48:y=ih/2-48:w=96:h=96:t=fill"
  printf '%s' "movie='$out/still.png',loop=loop=-1:size=1,setpts=N/($rate*TB),fps=$rate[bg];" \
    "testsrc2=s=320x240:r=$rate[fg];[bg][fg]overlay=x=300:y=160," \
    "crop=720:$height:x='(iw-ow)/2*(1-cos(2*PI*n/(20*$rate)))':y=(ih-oh)/2," \
    "noise=alls=4:allf=t,drawbox=$box:color=black," \
    "drawbox=$box:color=white:enable='gte(n\,$period)*lt(mod(n\,$period)\,$flash)',format=yuv420p"
}

# sound NAME PERIOD: AC3 2.0 at 192 kbit/s, brown noise with a beep for the first 100 ms of every
# PERIOD seconds from the second period on.
sound() {
  ff -f lavfi -i "anoisesrc=color=brown:amplitude=0.25:sample_rate=48000:seed=5:duration=$seconds" \
    -f lavfi -i "aevalsrc=0.5*sin(2*PI*1000*t)*gte(t\,$2)*lt(mod(t\,$2)\,0.1):s=48000:d=$seconds" \
    -filter_complex "[0][1]amix=inputs=2:normalize=0,aformat=channel_layouts=stereo" \
    -c:a ac3 -b:a 192k "$work/$1.ac3"
}

# author NAME FORMAT: multiplexes NAME.m2v and NAME.ac3 and authors them as one title, copied
# into OUTDIR/NAME/rip/ as the ripper leaves it.
author() {
  local name=$1 format=$2
  mplex -v 0 -f 8 -o "$work/$name.mpg" "$work/$name.m2v" "$work/$name.ac3" 2>>"$work/mplex.log"
  cat >"$work/$name.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="$format" aspect="4:3"/>
   <audio lang="en"/>
   <pgc><vob file="$work/$name.mpg"/></pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
  dvdauthor -o "$work/$name.disc" -x "$work/$name.xml" >>"$work/dvdauthor.log" 2>&1
  mkdir -p "$out/$name/rip"
  cp "$work/$name.disc/VIDEO_TS"/VTS_01_* "$out/$name/rip/"
  rm -f "$out/$name"/rip/VTS_*_0.VOB
}

# count FILE: the pictures of an elementary stream.
count() {
  ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$1" | cut -d, -f1
}

# film: mpeg2enc takes the 23.976 frames and flags the 3:2 pulldown itself. It ends as soon as it
# has read the last frame, which ffmpeg may take for a broken pipe, so the count decides.
film=$(pictures 24000/1001 480 24 3)
frames=$((seconds * 24000 / 1001))
echo "$film,trim=end_frame=$frames" >"$out/film.reference.lavfi"
{ ff -f lavfi -i "$film,trim=end_frame=$frames" -f yuv4mpegpipe - 2>>"$work/ffmpeg.log" || true; } |
  mpeg2enc -v 0 -f 8 -n n -a 2 -p -b 6000 -r 0 -R 2 -o "$work/film.m2v" 2>>"$work/mpeg2enc.log"
[ "$(count "$work/film.m2v")" = "$frames" ] || { echo "film: mpeg2enc lost frames" >&2; exit 1; }
sound film 1.001
author film ntsc
mv "$out/film.reference.lavfi" "$out/film/reference.lavfi"

# interlaced: 50 pictures a second woven top field first; the reference is the first field's
# picture of each frame.
fields=$(pictures 50 576 50 5)
ff -f lavfi -i "$fields,trim=end_frame=$((seconds * 50)),tinterlace=interleave_top,setfield=tff" \
  -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -g 12 -bf 2 -flags +ildct+ilme -top 1 \
  -aspect 4:3 -f mpeg2video "$work/interlaced.m2v"
printf '\x00\x00\x01\xb7' >>"$work/interlaced.m2v"  # without a sequence end mplex drops a picture
sound interlaced 1
author interlaced pal
echo "$fields,trim=end_frame=$((seconds * 50)),select='not(mod(n\,2))',setpts=N/(25*TB)" \
  >"$out/interlaced/reference.lavfi"

rm -rf "$work"
echo "$stamp" >"$out/.stamp"
