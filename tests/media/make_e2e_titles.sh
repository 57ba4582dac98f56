#!/usr/bin/env bash
# make_e2e_titles.sh OUTDIR: the titles of the end-to-end suite and of the main job's sample,
# authored as DVDs by independent tools (ffmpeg, mpeg2enc, mplex, spumux, dvdauthor) and laid out
# as the ripper leaves them in OUTDIR/<title>/rip/. Made once: a second call returns at once while
# OUTDIR/.stamp matches this script. Exit status 77 when a tool is missing. See README.md beside
# this script for what each title holds.
#
# Every picture carries the marks the checks read back from the finished AVI:
# - a square (square on the display, by the DVD's pixel aspect) in the middle, black in a black
#   frame, white for three frames from the middle of every period; the period is one second of
#   the material's own rate (24, 25 or 30 frames, 1.001 s at the NTSC rates), and every audio
#   channel beeps (1 kHz) for exactly the same times. From the middle, so that no mark falls on
#   the first or last moment of a track, which encoders are free to smear;
# - a counter: ten cells in a band across the upper picture, cell k white when bit k of the
#   frame's number (the film frame for film, the frame a field belongs to for video) is set;
# - a black band across the lower picture, where the captions of a subpicture stream go.
# The rest is ffmpeg's testsrc2 panned across the picture, so that every frame moves and the
# codecs have work to do.
set -Eeuo pipefail
convert=/usr/bin/convert  # the first convert on PATH may be a viewer's stand-in
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg mpeg2enc mplex spumux dvdauthor "$convert"
find "$out" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} +
work="$out/.work"
mkdir -p "$work"
trap 'echo "make_e2e_titles.sh failed; the tools said:" >&2; tail -n 15 "$work"/*.log >&2' ERR
ff() { ffmpeg -nostdin -v error -y "$@" 2>>"$work/ffmpeg.log"; }

# marked W H RATE FRAMES PERIOD PER_FRAME PAR [TOP BOTTOM]: FRAMES pictures at RATE of the
# marked picture as YUV4MPEG2 on standard output. PERIOD pictures make one mark period, PER_FRAME
# pictures one counted frame (2 for fields); the square flashes for three frames from the middle
# of each period, rounded down to a whole frame (frame 12 of 24 or 25, field 24 of 50, 30 of 60).
# PAR is the pixel aspect as N/D (the square is a third of the picture high). TOP and BOTTOM rows
# of black above and below the picture make a letterbox.
marked() {
  local w=$1 h=$2 rate=$3 frames=$4 period=$5 per=$6 par=$7 top=${8:-0} bottom=${9:-0}
  local ph=$((h - top - bottom)) g
  local sh=$((ph / 3 / 2 * 2))  # even sizes, for the chroma planes
  local sw=$(((sh * ${par#*/} / ${par%/*} + 1) / 2 * 2))
  local cell=$((w * 8 / 100)) band=$((ph * 8 / 100)) x0=$((w / 10)) y0=$((ph * 12 / 100))
  g="[0]crop=$w:$ph:x='mod(n*8\,$w)':y=0"
  g+=",drawbox=x=(iw-$sw)/2-8:y=(ih-$sh)/2-8:w=$sw+16:h=$sh+16:color=black:t=fill"
  g+=",drawbox=x=(iw-$sw)/2:y=(ih-$sh)/2:w=$sw:h=$sh:color=white:t=fill"
  g+=":enable='between(mod(n\,$period)-$((period / 2 / per * per))\,0\,3*$per-1)'"
  g+=",drawbox=x=$x0-8:y=$y0-8:w=10*$cell+16:h=$band+16:color=black:t=fill"
  for k in 0 1 2 3 4 5 6 7 8 9; do
    g+=",drawbox=x=$x0+$k*$cell:y=$y0:w=$cell:h=$band:color=white:t=fill"
    g+=":enable='mod(floor(n/$per/pow(2\,$k))\,2)'"
  done
  g+=",drawbox=x=0:y=ih*80/100:w=iw:h=ih*15/100:color=black:t=fill"
  if [ "$top$bottom" != 00 ]; then g+=",pad=$w:$h:0:$top:black"; fi
  ffmpeg -nostdin -v error -f lavfi -i "testsrc2=size=$((2 * w))x$ph:rate=$rate" \
    -filter_complex "$g" -frames:v "$frames" -pix_fmt yuv420p -f yuv4mpegpipe - \
    2>>"$work/ffmpeg.log"
}

# beeps SECONDS PERIOD START FLASH CHANNELS LEAD: the beeping track as 48 kHz WAV on standard
# output, beeping for FLASH seconds at START seconds into every PERIOD seconds of the video, as the
# pictures flash. LEAD seconds of audio come before the video's start (the multiplexer is told so).
beeps() {
  local seconds=$1 period=$2 start=$3 flash=$4 channels=$5 lead=$6 tone exprs="" c
  tone="if(between(mod(t-($lead)+100*($period)\,$period)-($start)\,0\,$flash)"
  tone+="*gte(t\,$lead)\,0.5*sin(2*PI*1000*t)\,0)"
  for ((c = 0; c < channels; c++)); do exprs+="${exprs:+|}$tone"; done
  ffmpeg -nostdin -v error -f lavfi -i "aevalsrc=$exprs:s=48000:d=$seconds" -f wav - \
    2>>"$work/ffmpeg.log"
}

# pulldown NAME: a 23.976 YUV4MPEG2 stream on standard input coded by mpeg2enc with soft 3:2
# pulldown (repeat_first_field in a 3:2 cadence); ffmpeg cannot flag it.
pulldown() {
  mpeg2enc -v 0 -f 8 -n n -a 2 -p -b 6000 -r 0 -R 2 -o "$work/$1.m2v" 2>>"$work/mpeg2enc.log"
}

# mpeg2 NAME ASPECT [interlaced ORDER]: standard input coded by ffmpeg as NAME.m2v, interlaced
# with ORDER (tff, bff) when asked.
mpeg2() {
  local name=$1 aspect=$2 flags=()
  [ "${3:-}" = interlaced ] && flags=(-flags +ildct+ilme -top "$([ "$4" = tff ] && echo 1 || echo 0)")
  ffmpeg -nostdin -v error -y -f yuv4mpegpipe -i - -c:v mpeg2video -b:v 6M -maxrate 9M \
    -bufsize 1835k -g 12 -bf 2 "${flags[@]}" -aspect "$aspect" -f mpeg2video "$work/$name.m2v" \
    2>>"$work/ffmpeg.log"
}

# weave: the fields on standard input (twice the frame rate) woven top field first.
weave() {
  ffmpeg -nostdin -v error -f yuv4mpegpipe -i - -vf "tinterlace=mode=interleave_top,setfield=tff" \
    -f yuv4mpegpipe - 2>>"$work/ffmpeg.log"
}

# ends NAME: a sequence end code, without which mplex drops the last picture.
ends() { printf '\x00\x00\x01\xb7' >>"$work/$1.m2v"; }

# captions MPG STREAM W H START END: one caption (a white box with a black outline across the
# lower band) on subpicture stream STREAM from START to END.
captions() {
  local mpg=$1 stream=$2 w=$3 h=$4
  "$convert" -size "${w}x$h" xc:transparent +antialias -fill white -stroke black \
    -strokewidth 3 -draw "rectangle $((w / 6)),$((h * 83 / 100)) $((w * 5 / 6)),$((h * 92 / 100))" \
    -colors 3 "PNG8:$work/caption.png"
  printf '<subpictures><stream><spu start="%s" end="%s" image="%s"/></stream></subpictures>\n' \
    "$5" "$6" "$work/caption.png" >"$work/spu.xml"
  spumux -m dvd -s "$stream" "$work/spu.xml" <"$mpg" >"$mpg.spu" 2>>"$work/spumux.log"
  mv "$mpg.spu" "$mpg"
}

# author TITLE FORMAT XML-TITLES-BODY: the title set, then the ripper's copy of it in TITLE/rip/.
author() {
  local title=$1 format=$2 dir="$out/$1"
  printf '<dvdauthor><titleset><titles>%s</titles></titleset></dvdauthor>\n' "$3" \
    >"$work/$title.xml"
  mkdir -p "$dir"
  dvdauthor -o "$dir/disc" -x "$work/$title.xml" >>"$work/dvdauthor.log" 2>&1
  VIDEO_FORMAT=$format dvdauthor -o "$dir/disc" -T >>"$work/dvdauthor.log" 2>&1
  mkdir -p "$dir/rip"
  cp "$dir"/disc/VIDEO_TS/VTS_01_* "$dir/rip/"
  rm -rf "$dir/disc" "$dir"/rip/VTS_01_0.VOB
}

# film: NTSC 4:3, 264 film frames (11 periods of 1.001 s) coded with soft pulldown; English AC3
# 5.1 at 384 kbit/s and French MPEG-1 layer II stereo, both starting 120 ms before the video.
marked 720 480 24000/1001 264 24 1 72/79 | pulldown film
beeps 11.131 1.001 0.5005 0.125125 6 0.12 | ff -i - -c:a ac3 -b:a 384k "$work/film.ac3"
beeps 11.131 1.001 0.5005 0.125125 2 0.12 | ff -i - -c:a mp2 -b:a 192k "$work/film.mp2"
mplex -v 0 -f 8 -O 120ms -o "$work/film.mpg" "$work/film.m2v" "$work/film.ac3" \
  "$work/film.mp2" 2>>"$work/mplex.log"
author film NTSC '<video format="ntsc" aspect="4:3"/><audio lang="en"/><audio lang="fr"/>
<pgc><vob file="'"$work/film.mpg"'"/></pgc>'

# interlaced: PAL 4:3, 250 pictures woven top field first from 500 fields of motion; English AC3
# stereo; an English subpicture stream with one caption from 1.5 s to 3.5 s.
marked 720 576 50 500 50 2 128/117 | weave | mpeg2 interlaced 4:3 interlaced tff
ends interlaced
beeps 10 1 0.48 0.12 2 0 | ff -i - -c:a ac3 -b:a 192k "$work/interlaced.ac3"
mplex -v 0 -f 8 -o "$work/interlaced.mpg" "$work/interlaced.m2v" "$work/interlaced.ac3" \
  2>>"$work/mplex.log"
captions "$work/interlaced.mpg" 0 720 576 00:00:01.50 00:00:03.50
author interlaced PAL '<video format="pal" aspect="4:3"/><audio lang="en"/><subpicture lang="en"/>
<pgc><vob file="'"$work/interlaced.mpg"'"/></pgc>'

# letterbox: PAL 4:3, 250 progressive pictures of a 16:9 picture (720x432) between black bars of
# 72 lines; German and English LPCM stereo.
marked 720 576 25 250 25 1 128/117 72 72 | mpeg2 letterbox 4:3
ends letterbox
beeps 10 1 0.48 0.12 2 0 | ff -i - -f s16be -ac 2 "$work/letterbox.lpcm"
mplex -v 0 -f 8 -L 48000:2:16 -o "$work/letterbox.mpg" "$work/letterbox.m2v" \
  "$work/letterbox.lpcm" "$work/letterbox.lpcm" 2>>"$work/mplex.log"
author letterbox PAL '<video format="pal" aspect="4:3"/><audio lang="de"/><audio lang="en"/>
<pgc><vob file="'"$work/letterbox.mpg"'"/></pgc>'

# hybrid: NTSC 4:3, 120 film frames with soft pulldown (5 periods) followed, in the same
# elementary stream, by 150 pictures of video woven top field first from 300 fields (5 periods);
# English AC3 stereo.
marked 720 480 24000/1001 120 24 1 72/79 | pulldown hybrid
marked 720 480 60000/1001 300 60 2 72/79 | weave | mpeg2 video 4:3 interlaced tff
ends video
# The film's sequence end code goes; the video brings its own sequence header.
head -c -4 "$work/hybrid.m2v" >"$work/hybrid.film.m2v"
cat "$work/hybrid.film.m2v" "$work/video.m2v" >"$work/hybrid.m2v"
beeps 10.01 1.001 0.5005 0.125125 2 0 | ff -i - -c:a ac3 -b:a 192k "$work/hybrid.ac3"
mplex -v 0 -f 8 -o "$work/hybrid.mpg" "$work/hybrid.m2v" "$work/hybrid.ac3" 2>>"$work/mplex.log"
author hybrid NTSC '<video format="ntsc" aspect="4:3"/><audio lang="en"/>
<pgc><vob file="'"$work/hybrid.mpg"'"/></pgc>'

rm -rf "$work"
echo "$stamp" >"$out/.stamp"
