#!/usr/bin/env bash
# make_dvd_titles.sh OUTDIR: authors short DVD titles with independent tools (ffmpeg, mplex,
# spumux, dvdauthor) and lays each out as a ripper leaves it. Made once: a second call returns at
# once while OUTDIR/.stamp matches this script. Exit status 77 when a tool is missing.
# See README.md beside this script for what each title holds.
set -euo pipefail
convert=/usr/bin/convert  # the first convert on PATH may be a viewer's stand-in
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg mpeg2enc mplex spumux dvdauthor "$convert"
rm -rf "$out/pal_wide" "$out/ntsc_sets" "$out/ntsc_film" "$out/ntsc_hybrid" "$out/pal_shifted" \
  "$out/.work" "$out/.stamp"
work="$out/.work"
mkdir -p "$work"
trap 'echo "make_dvd_titles.sh failed; the tools said:" >&2; tail -n 15 "$work"/*.log >&2' ERR

# video NAME STANDARD ASPECT SECONDS: an MPEG-2 elementary stream with a sequence end code
# (without one mplex drops the last picture).
video() {
  local name=$1 standard=$2 aspect=$3 seconds=$4 size rate gop
  if [ "$standard" = pal ]; then size=720x576 rate=25 gop=12; else size=720x480 rate=30000/1001 gop=15; fi
  ffmpeg -v error -y -f lavfi -i "testsrc=size=$size:rate=$rate" -t "$seconds" -pix_fmt yuv420p \
    -c:v mpeg2video -b:v 2M -maxrate 8M -bufsize 1835k -g "$gop" -bf 2 -aspect "$aspect" \
    -f mpeg2video "$work/$name.m2v"
  printf '\x00\x00\x01\xb7' >>"$work/$name.m2v"
}

# film NAME SECONDS: 23.976 progressive frames coded by mpeg2enc with soft 3:2 pulldown, so that
# the 29.97 stream's pictures carry repeat_first_field in a 3:2 cadence (ffmpeg cannot flag it).
film() {
  local name=$1 seconds=$2
  ffmpeg -v error -y -f lavfi -i "testsrc=size=720x480:rate=24000/1001" -t "$seconds" \
    -pix_fmt yuv420p -f yuv4mpegpipe - |
    mpeg2enc -v 0 -f 8 -n n -a 2 -p -b 4000 -r 0 -R 2 -o "$work/$name.m2v" 2>>"$work/mpeg2enc.log"
}

# interlaced NAME SECONDS: NTSC fields made at 59.94 per second, woven top field first and coded
# as interlaced pictures, so that the two fields of a picture really differ.
interlaced() {
  local name=$1 seconds=$2
  ffmpeg -v error -y -f lavfi -i "testsrc=size=720x480:rate=60000/1001" \
    -vf "tinterlace=interleave_top,setfield=tff" -t "$seconds" -pix_fmt yuv420p \
    -c:v mpeg2video -b:v 4M -maxrate 8M -bufsize 1835k -g 15 -bf 2 -flags +ildct+ilme -top 1 \
    -aspect 4:3 -f mpeg2video "$work/$name.m2v"
  printf '\x00\x00\x01\xb7' >>"$work/$name.m2v"
}

# shifted NAME SECONDS: PAL film mastered one field out of phase. 25p frames of a pan (so that
# consecutive frames differ) are cut into fields, the first field is dropped and the rest woven
# again bottom field first, so each picture holds the bottom field of one film frame and the top
# field of the next: combed wherever it moves, whole again when fields are paired one later.
shifted() {
  local name=$1 seconds=$2
  ffmpeg -v error -y -f lavfi -i "testsrc=size=1440x576:rate=25" \
    -vf "crop=720:576:x='mod(n*8\,720)':y=0,setfield=tff,separatefields,select='gte(n\,1)',weave=first_field=bottom,setfield=bff" \
    -frames:v $((seconds * 25)) -pix_fmt yuv420p -c:v mpeg2video -b:v 4M -maxrate 8M \
    -bufsize 1835k -g 12 -bf 2 -flags +ildct+ilme -top 0 -aspect 4:3 -f mpeg2video "$work/$name.m2v"
  printf '\x00\x00\x01\xb7' >>"$work/$name.m2v"
}

# audio NAME KIND CHANNELS SECONDS FREQUENCY: ac3, mp2 or lpcm (16-bit big-endian, 48 kHz).
audio() {
  local name=$1 kind=$2 channels=$3 seconds=$4 freq=$5
  local src=(-f lavfi -i "sine=frequency=$freq:sample_rate=48000" -t "$seconds" -ac "$channels")
  case $kind in
    ac3) ffmpeg -v error -y "${src[@]}" -c:a ac3 -b:a 192k "$work/$name.ac3" ;;
    mp2) ffmpeg -v error -y "${src[@]}" -c:a mp2 -b:a 192k "$work/$name.mp2" ;;
    lpcm) ffmpeg -v error -y "${src[@]}" -f s16be "$work/$name.lpcm" ;;
  esac
}

# subtitles MPG SIZE STREAM...: adds one caption stream per STREAM number with spumux.
subtitles() {
  local mpg=$1 size=$2 s
  shift 2
  local w=${size%x*} h=${size#*x}
  "$convert" -size "$size" xc:transparent +antialias -fill white -stroke black -strokewidth 3 \
    -draw "rectangle 120,$((h - 110)) $((w - 120)),$((h - 50))" -colors 3 "PNG8:$work/caption.png"
  for s in "$@"; do
    cat >"$work/sub$s.xml" <<XML
<subpictures><stream><spu start="00:00:00.20" end="00:00:00.90" image="$work/caption.png"/></stream></subpictures>
XML
    spumux -m dvd -s "$s" "$work/sub$s.xml" <"$mpg" >"$mpg.spu" 2>>"$work/spumux.log"
    mv "$mpg.spu" "$mpg"
  done
}

# rip TITLE: the authored disc's title set files, laid out as the ripper leaves them.
rip() {
  local dir="$out/$1"
  mkdir -p "$dir/rip"
  cp "$dir"/disc/VIDEO_TS/VTS_* "$dir/rip/"
  rm -f "$dir"/rip/VTS_*_0.VOB
  if command -v lsdvd >/dev/null; then lsdvd -x "$dir/disc" >"$dir/lsdvd.txt" 2>/dev/null || true; fi
}

author() {
  local title=$1 format=$2
  mkdir -p "$out/$title"
  dvdauthor -o "$out/$title/disc" -x "$work/$title.xml" >>"$work/dvdauthor.log" 2>&1
  VIDEO_FORMAT=$format dvdauthor -o "$out/$title/disc" -T >>"$work/dvdauthor.log" 2>&1
}

# pal_wide: one PAL 16:9 title set, three audio streams (English AC3, French MPEG audio marked
# as director's comments, German LPCM), three subpicture streams (English, German, French) and two
# program chains: 1 s, and 2 s in two chapters, which has no German subpicture stream.
video pal_long pal 16:9 2
audio ac3 ac3 2 2 440
audio mp2 mp2 2 2 660
audio lpcm lpcm 2 2 880
mplex -v 0 -f 8 -L 48000:2:16 -o "$work/pal_long.mpg" "$work/pal_long.m2v" "$work/ac3.ac3" \
  "$work/mp2.mp2" "$work/lpcm.lpcm" 2>>"$work/mplex.log"
video pal_short pal 16:9 1
audio ac3s ac3 2 1 440
audio mp2s mp2 2 1 660
audio lpcms lpcm 2 1 880
mplex -v 0 -f 8 -L 48000:2:16 -o "$work/pal_short.mpg" "$work/pal_short.m2v" "$work/ac3s.ac3" \
  "$work/mp2s.mp2" "$work/lpcms.lpcm" 2>>"$work/mplex.log"
subtitles "$work/pal_long.mpg" 720x576 0 2
subtitles "$work/pal_short.mpg" 720x576 0 1 2
cat >"$work/pal_wide.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="pal" aspect="16:9" widescreen="nopanscan"/>
   <audio lang="en"/>
   <audio lang="fr" content="comments1"/>
   <audio lang="de"/>
   <subpicture lang="en"/>
   <subpicture lang="de"/>
   <subpicture lang="fr"/>
   <pgc><vob file="$work/pal_short.mpg"/></pgc>
   <pgc>
    <subpicture><stream id="0" mode="widescreen"/></subpicture>
    <subpicture/>
    <subpicture><stream id="2" mode="widescreen"/></subpicture>
    <vob file="$work/pal_long.mpg" chapters="0,0:01"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
author pal_wide PAL
rip pal_wide

# ntsc_sets: two NTSC 4:3 title sets. The first, 1 s, has a Japanese 5.1 AC3 stream; the second,
# 2 s, a Spanish mono MPEG audio stream for the visually impaired, an AC3 stream without a
# language, and an Italian subpicture stream.
video ntsc1 ntsc 4:3 1
audio ac3six ac3 6 1 440
mplex -v 0 -f 8 -o "$work/ntsc1.mpg" "$work/ntsc1.m2v" "$work/ac3six.ac3" 2>>"$work/mplex.log"
video ntsc2 ntsc 4:3 2
audio mp2mono mp2 1 2 660
audio ac3two ac3 2 2 880
mplex -v 0 -f 8 -o "$work/ntsc2.mpg" "$work/ntsc2.m2v" "$work/mp2mono.mp2" \
  "$work/ac3two.ac3" 2>>"$work/mplex.log"
subtitles "$work/ntsc2.mpg" 720x480 0
cat >"$work/ntsc_sets.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="ntsc" aspect="4:3"/>
   <audio lang="ja"/>
   <pgc><vob file="$work/ntsc1.mpg"/></pgc>
  </titles>
 </titleset>
 <titleset>
  <titles>
   <video format="ntsc" aspect="4:3"/>
   <audio lang="es" content="impaired" channels="1"/>
   <audio/>
   <subpicture lang="it"/>
   <pgc><vob file="$work/ntsc2.mpg"/></pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
author ntsc_sets NTSC
rip ntsc_sets

# ntsc_film: one NTSC 4:3 title of soft-pulldown film, with an AC3 and an MPEG audio stream
# multiplexed to start 120 ms before the video.
film film 2
audio ac3film ac3 2 2 440
audio mp2film mp2 2 2 660
mplex -v 0 -f 8 -O 120ms -o "$work/film.mpg" "$work/film.m2v" "$work/ac3film.ac3" \
  "$work/mp2film.mp2" 2>>"$work/mplex.log"
cat >"$work/ntsc_film.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="ntsc" aspect="4:3"/>
   <audio lang="en"/>
   <audio lang="fr"/>
   <pgc><vob file="$work/film.mpg"/></pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
author ntsc_film NTSC
rip ntsc_film

# ntsc_hybrid: two NTSC 4:3 title sets with an AC3 stream each. VTS_01 is a hybrid: the film
# above (48 pictures, without its sequence end code) followed by 30 interlaced pictures in one
# elementary stream; VTS_02 holds those interlaced pictures alone.
interlaced video30i 1
head -c -4 "$work/film.m2v" >"$work/hybrid.m2v"
cat "$work/video30i.m2v" >>"$work/hybrid.m2v"
audio ac3hybrid ac3 2 3 440
audio ac3video ac3 2 1 880
mplex -v 0 -f 8 -o "$work/hybrid.mpg" "$work/hybrid.m2v" "$work/ac3hybrid.ac3" 2>>"$work/mplex.log"
mplex -v 0 -f 8 -o "$work/video30i.mpg" "$work/video30i.m2v" "$work/ac3video.ac3" \
  2>>"$work/mplex.log"
cat >"$work/ntsc_hybrid.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="ntsc" aspect="4:3"/>
   <audio lang="en"/>
   <pgc><vob file="$work/hybrid.mpg"/></pgc>
  </titles>
 </titleset>
 <titleset>
  <titles>
   <video format="ntsc" aspect="4:3"/>
   <audio lang="en"/>
   <pgc><vob file="$work/video30i.mpg"/></pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
author ntsc_hybrid NTSC
rip ntsc_hybrid

# pal_shifted: one PAL 4:3 title, 2 s of phase-shifted film (above) with an AC3 stream.
shifted shifted 2
audio ac3shifted ac3 2 2 440
mplex -v 0 -f 8 -o "$work/shifted.mpg" "$work/shifted.m2v" "$work/ac3shifted.ac3" \
  2>>"$work/mplex.log"
cat >"$work/pal_shifted.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="pal" aspect="4:3"/>
   <audio lang="en"/>
   <pgc><vob file="$work/shifted.mpg"/></pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
author pal_shifted PAL
rip pal_shifted

rm -rf "$work"
echo "$stamp" >"$out/.stamp"
