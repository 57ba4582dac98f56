#!/usr/bin/env bash
# make_subtitle_titles.sh OUTDIR: authors a short DVD title with captions in three languages
# (ffmpeg, mplex, spumux, dvdauthor) and lays it out as a ripper leaves it, in
# OUTDIR/pal_captions/rip/ (the title set's IFO, BUP and VOB) beside OUTDIR/pal_captions/disc/
# (the whole authored disc). Made once: a second call returns at once while OUTDIR/.stamp
# matches this script. Exit status 77 when a tool is missing. The title is described below,
# where it is made; tests/tools/subtitles/TitleCase.h lists the same captions.
set -Eeuo pipefail
convert=/usr/bin/convert  # the first convert on PATH may be a viewer's stand-in
source "$(dirname "$0")/made_once.sh"
made_once "$1" ffmpeg mplex spumux dvdauthor "$convert"
rm -rf "$out/pal_captions" "$out/.work" "$out/.stamp"
work="$out/.work"
mkdir -p "$work"
trap 'echo "make_subtitle_titles.sh failed; the tools said:" >&2; tail -n 15 "$work"/*.log >&2' ERR

# cell NAME SECONDS: PAL 4:3 video with an AC3 tone, multiplexed for DVD. The elementary stream
# gets a sequence end code, without which mplex drops the last picture.
cell() {
  local name=$1 seconds=$2
  ffmpeg -v error -y -f lavfi -i "testsrc=size=720x576:rate=25" -t "$seconds" -pix_fmt yuv420p \
    -c:v mpeg2video -b:v 2M -maxrate 8M -bufsize 1835k -g 12 -bf 2 -aspect 4:3 \
    -f mpeg2video "$work/$name.m2v"
  printf '\x00\x00\x01\xb7' >>"$work/$name.m2v"
  ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=48000" -t "$seconds" -ac 2 \
    -c:a ac3 -b:a 192k "$work/$name.ac3"
  mplex -v 0 -f 8 -o "$work/$name.mpg" "$work/$name.m2v" "$work/$name.ac3" 2>>"$work/mplex.log"
}

# caption NAME COLOUR [dotted]: a box with a black outline and a fill of COLOUR, three colours, no
# antialiasing (spumux wants few colours). A dotted fill (every other pixel black) compresses so
# badly that the subpicture spans several packets.
caption() {
  local dots=()
  [ "${3:-}" = dotted ] && dots=(\( -size 300x56 pattern:gray50 -transparent white \)
                                 -geometry +210+468 -composite)
  "$convert" -size 720x576 xc:transparent +antialias -fill "$2" -stroke black -strokewidth 3 \
    -draw "rectangle 120,466 600,526" "${dots[@]}" -colors 3 "PNG8:$work/$1.png"
}

# captions MPG STREAM SPU...: one subpicture stream of SPU lines "start end image [forced]".
captions() {
  local mpg=$1 stream=$2 line start end image force
  shift 2
  {
    echo "<subpictures><stream>"
    for line in "$@"; do
      read -r start end image force <<<"$line"
      echo "<spu start=\"$start\" end=\"$end\" image=\"$work/$image.png\"${force:+ force=\"yes\"}/>"
    done
    echo "</stream></subpictures>"
  } >"$work/spu.xml"
  spumux -m dvd -s "$stream" "$work/spu.xml" <"$mpg" >"$mpg.spu" 2>>"$work/spumux.log"
  mv "$mpg.spu" "$mpg"
}

# pal_captions: one PAL 4:3 title set whose one program chain plays two cells of 2 s each, with
# English (stream 0), German (1) and French (2) captions; the second English caption is forced,
# the French stream has captions in the first cell only. Captions are white boxes or yellow ones
# dotted with black. Authored times, within each cell:
#   cell 1: en 0.20-0.90 white, en 1.20-1.80 yellow forced; de 0.50-1.50 white; fr 1.00-1.60 yellow
#   cell 2: en 0.40-1.00 white; de 0.80-1.40 yellow
caption white white
caption yellow yellow dotted
cell one 2
cell two 2
captions "$work/one.mpg" 0 "00:00:00.20 00:00:00.90 white" "00:00:01.20 00:00:01.80 yellow yes"
captions "$work/one.mpg" 1 "00:00:00.50 00:00:01.50 white"
captions "$work/one.mpg" 2 "00:00:01.00 00:00:01.60 yellow"
captions "$work/two.mpg" 0 "00:00:00.40 00:00:01.00 white"
captions "$work/two.mpg" 1 "00:00:00.80 00:00:01.40 yellow"
cat >"$work/pal_captions.xml" <<XML
<dvdauthor>
 <titleset>
  <titles>
   <video format="pal" aspect="4:3"/>
   <audio lang="en"/>
   <subpicture lang="en"/>
   <subpicture lang="de"/>
   <subpicture lang="fr"/>
   <pgc>
    <vob file="$work/one.mpg"/>
    <vob file="$work/two.mpg"/>
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
dir="$out/pal_captions"
mkdir -p "$dir/rip"
dvdauthor -o "$dir/disc" -x "$work/pal_captions.xml" >>"$work/dvdauthor.log" 2>&1
VIDEO_FORMAT=PAL dvdauthor -o "$dir/disc" -T >>"$work/dvdauthor.log" 2>&1
cp "$dir"/disc/VIDEO_TS/VTS_* "$dir/rip/"
rm -f "$dir"/rip/VTS_*_0.VOB

rm -rf "$work"
echo "$stamp" >"$out/.stamp"
