#!/usr/bin/env bash
# make_filter_clips.sh OUTDIR: titles for the frame-server filters' tests and benchmark. Each is
# an MPEG-2 stream authored with an AC3 tone (mplex, dvdauthor) as a one-title DVD laid out as the
# ripper leaves it in OUTDIR/titles/<name>/rip/, which the tests index and decode with our own
# tools. Three decodes by ffmpeg (YUV4MPEG2) judge them. Made once: a second call returns at once
# while OUTDIR/.stamp matches this script. Exit status 77 when a tool is missing.
#
# The picture is ffmpeg's testsrc2 panned 4 pixels per film frame (2 per field for video), so
# that every frame moves and fields taken at different times comb, with a white 8x8 box whose
# place counts the frames of the material it was made at (x = 8 + 10 (n mod 32),
# y = 8 + 10 floor(n / 32)). NTSC titles are 352x480 4:3, top field first (mpeg2enc ignores its
# pulldown option at 240 lines):
#   film          160 film frames with soft pulldown (mpeg2enc -p); film.y4m is their decode
#                 (the forced-FILM view) at 24000/1001
#   (soft.y4m)    film.y4m through a 3:2 telecine in mpeg2enc's cadence: what a player shows of
#                 the film title, 200 frames at 30000/1001, the 2nd and 3rd of every 5 combed
#   hard          the same telecine encoded as interlaced MPEG-2 (hard telecine); hard.y4m is its
#                 decode
#   interlaced    200 frames woven from 400 fields of continuous motion
#   progressive   200 progressive frames at 30000/1001
#   hybrid        soft.y4m's 200 frames, then 180 frames of interlaced video, one interlaced
#                 MPEG-2 stream of 380 frames
# and one PAL title, 720x576 at 25, 4:3:
#   letterbox     100 progressive frames, the picture 720x432 between black bars of 72 lines
#                 (16:9 letterboxed)
set -Eeuo pipefail
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg mpeg2enc mplex dvdauthor
rm -rf "$out"/*.y4m "$out"/*.m2v "$out/titles" "$out/.stamp"
work="$out/.work"
mkdir -p "$work"
trap 'echo "make_filter_clips.sh failed; the tools said:" >&2; tail -n 15 "$work"/*.log >&2' ERR

# pan RATE FRAMES STEP SIZE OUT [SAR]: the panned picture with the counter box, raw YUV4MPEG2.
pan() {
  local rate=$1 frames=$2 step=$3 size=$4 w=${4%x*} h=${4#*x} sar=${6:-20/11}
  ffmpeg -v error -y -f lavfi -i "testsrc2=size=$((2 * w))x$h:rate=$rate" \
    -f lavfi -i "color=white:size=8x8:rate=$rate" -filter_complex \
    "[0]crop=$w:$h:x='mod(n*$step,$w)':y=0[bg];[bg][1]overlay=x='8+mod(n,32)*10':y='8+floor(n/32)*10',setsar=$sar" \
    -frames:v "$frames" -pix_fmt yuv420p -f yuv4mpegpipe "$5" 2>>"$work/ffmpeg.log"
}

# weave IN OUT: fields of IN (twice the frame rate) woven top field first.
weave() {
  ffmpeg -v error -y -i "$1" -vf "tinterlace=mode=interleave_top,setfield=tff" \
    -f yuv4mpegpipe "$2" 2>>"$work/ffmpeg.log"
}

# interlaced_mpeg2 IN NAME: an interlaced MPEG-2 stream NAME.m2v of IN.
interlaced_mpeg2() {
  ffmpeg -v error -y -i "$1" -c:v mpeg2video -q:v 2 -flags +ildct+ilme -top 1 -g 15 -bf 2 \
    -f mpeg2video "$work/$2.m2v" 2>>"$work/ffmpeg.log"
}

# decode NAME RATE: NAME.m2v decoded to OUTDIR/NAME.y4m, frames at RATE, top field first.
decode() {
  ffmpeg -v error -y -r "$2" -i "$work/$1.m2v" -vf setfield=tff -pix_fmt yuv420p \
    -f yuv4mpegpipe "$out/$1.y4m" 2>>"$work/ffmpeg.log"
}

ntsc=352x480
pan 24000/1001 160 4 $ntsc "$work/film.y4m"
mpeg2enc -v 0 -f 8 -p -a 2 -q 3 -b 8000 -o "$work/film.m2v" <"$work/film.y4m" 2>>"$work/mpeg2enc.log"
decode film 24000/1001
ffmpeg -v error -y -i "$out/film.y4m" -vf "telecine=first_field=top:pattern=32,setfield=tff" \
  -f yuv4mpegpipe "$out/soft.y4m" 2>>"$work/ffmpeg.log"
interlaced_mpeg2 "$out/soft.y4m" hard
decode hard 30000/1001

pan 60000/1001 400 2 $ntsc "$work/fields.y4m"
weave "$work/fields.y4m" "$work/interlaced.y4m"
interlaced_mpeg2 "$work/interlaced.y4m" interlaced

pan 30000/1001 200 4 $ntsc "$work/progressive.y4m"
ffmpeg -v error -y -i "$work/progressive.y4m" -c:v mpeg2video -q:v 2 -g 15 -bf 2 \
  -f mpeg2video "$work/progressive.m2v" 2>>"$work/ffmpeg.log"

# The hybrid: the telecined film, then video, in one stream as a DVD would hold them.
pan 60000/1001 360 2 $ntsc "$work/video_fields.y4m"
weave "$work/video_fields.y4m" "$work/video.y4m"
ffmpeg -v error -y -i "$out/soft.y4m" -i "$work/video.y4m" -filter_complex \
  "[0][1]concat=n=2:v=1,setfield=tff" -f yuv4mpegpipe "$work/hybrid.y4m" 2>>"$work/ffmpeg.log"
interlaced_mpeg2 "$work/hybrid.y4m" hybrid

pan 25 100 4 720x432 "$work/picture.y4m" 16/15
ffmpeg -v error -y -i "$work/picture.y4m" -vf "pad=720:576:0:72:black" -c:v mpeg2video -q:v 2 \
  -g 12 -bf 2 -aspect 4:3 -f mpeg2video "$work/letterbox.m2v" 2>>"$work/ffmpeg.log"

# title NAME FORMAT SECONDS: NAME.m2v with a tone, as a one-title DVD laid out as ripped. The
# stream gets a sequence end code, without which mplex drops the last picture.
title() {
  local name=$1 format=$2 seconds=$3 dir="$out/titles/$1"
  mkdir -p "$dir"
  printf '\x00\x00\x01\xb7' >>"$work/$name.m2v"
  ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=48000" -t "$seconds" -ac 2 \
    -c:a ac3 -b:a 192k "$work/$name.ac3" 2>>"$work/ffmpeg.log"
  mplex -v 0 -f 8 -o "$work/$name.mpg" "$work/$name.m2v" "$work/$name.ac3" 2>>"$work/mplex.log"
  printf '<dvdauthor><titleset><titles><video format="%s" aspect="4:3"/><audio lang="en"/>
<pgc><vob file="%s"/></pgc></titles></titleset></dvdauthor>\n' "$format" "$work/$name.mpg" \
    >"$work/$name.xml"
  dvdauthor -o "$dir/disc" -x "$work/$name.xml" >>"$work/dvdauthor.log" 2>&1
  VIDEO_FORMAT=${format^^} dvdauthor -o "$dir/disc" -T >>"$work/dvdauthor.log" 2>&1
  mkdir -p "$dir/rip"
  cp "$dir"/disc/VIDEO_TS/VTS_01_* "$dir/rip/"
  rm -rf "$dir/disc" "$dir"/rip/VTS_01_0.VOB
}
title film ntsc 7
title hard ntsc 7
title interlaced ntsc 7
title progressive ntsc 7
title hybrid ntsc 13
title letterbox pal 4

rm -rf "$work"
echo "$stamp" >"$out/.stamp"
