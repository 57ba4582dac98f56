#!/usr/bin/env bash
# codecs_bench.sh [BUILD]: frames per second of each codec mode on the 20-second 640x352 test
# movie, against ffmpeg doing the same work with the same settings in the same run (-c:v libxvid
# for XviD, -c:v mpeg4 for DivX), and the size error of each second pass against ffmpeg's second
# pass at the same target. Needs a build with the staged installation (scripts/build.sh) and
# ffmpeg. Prints one line a mode; "ratio" is our throughput over ffmpeg's (above 1: faster).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
run=$build/tests/tools/codecs/codec_run
[ -x "$run" ] || { echo "codecs_bench: build the codec_run target first" >&2; exit 1; }
bash "$root/tests/media/make_codec_clips.sh" "$build/media/codecs"
clip=$build/media/codecs/movie.yuv
frames=500 seconds=20
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MOVREX_CONFIG_DIR=$work/config
export MOVREX_SYSTEM_DIR=$build/dist/system
export MOVREX_MACHINE_HIVE=$build/dist/system/machine.reg
raw=(-f rawvideo -pix_fmt yuv420p -s 640x352 -r 25 -i "$clip")

# The planner's matrices (set 1) in the form ffmpeg takes them.
intra=8,16,16,16,17,18,21,24,16,16,16,16,17,19,22,25,16,16,17,18,20,22,25,29,16,16,18,21,24,27,31,36,17,17,20,24,30,35,41,47,18,19,22,27,35,44,54,65,21,22,25,31,41,54,70,88,24,25,29,36,47,65,88,115
inter=18,18,18,18,19,21,23,27,18,18,18,18,19,21,24,29,18,18,19,20,22,24,28,32,18,18,20,24,27,30,35,40,19,19,22,27,33,39,46,53,21,21,24,30,39,50,61,73,23,24,28,35,46,61,79,98,27,29,32,40,53,73,98,129
xvid=(-c:v libxvid -threads 0 -bf 1 -g 250 -me_quality 6 -mbd rd -mpeg_quant 1
      -intra_matrix "$intra" -inter_matrix "$inter")
divx=(-c:v mpeg4 -threads 0 -bf 1 -g 250 -mbd rd -vtag DX50)

# Seconds of the compression alone: codec_run times its run from opening the codec on, and
# ffmpeg's -benchmark gives the real time of its transcoding.
ours() {
  "$run" --yuv "$clip" --size 640x352 --rate 25/1 --frames $frames --out "$work/ours.m4v" "$@" \
    >"$work/out" || return
  sed -n 's/.* seconds \([0-9.]*\)$/\1/p' "$work/out"
}
theirs() {
  local said
  said=$(ffmpeg -hide_banner -nostats -benchmark -y "${raw[@]}" "$@" 2>&1) || { echo "$said" >&2; return; }
  echo "$said" | sed -n 's/^bench: utime=.* rtime=\([0-9.]*\)s$/\1/p'
}
size() { stat -c %s "$1"; }
line() {  # mode our-seconds their-seconds [size errors]
  if [ -z "$2" ] || [ -z "$3" ]; then echo "codecs_bench: $1 failed" >&2; exit 1; fi
  printf '%-18s ours %6.1f fps  ffmpeg %6.1f fps  ratio %5.2f%s\n' "$1" \
    "$(echo "$frames / $2" | bc -l)" "$(echo "$frames / $3" | bc -l)" "$(echo "$3 / $2" | bc -l)" "${4:-}"
}
error() {  # bytes target: signed error in percent
  echo "($1 - $2) * 100 / $2" | bc -l
}

a=$(ours --codec xvid --mode single --quality 400 --matrix 1)
b=$(theirs "${xvid[@]}" -qscale:v 4 -f m4v "$work/theirs.m4v")
line "XviD single q4" "$a" "$b"
a=$(ours --codec divx --mode single --quality 40)
b=$(theirs "${divx[@]}" -qscale:v 4 -f m4v "$work/theirs.m4v")
line "DivX single q4" "$a" "$b"

a=$(ours --codec xvid --mode pass1 --stats "$work/xvid.stats")
first=$(size "$work/ours.m4v")
kib=$((first * 25 / 100 / 1024))
rate=$((kib * 1024 * 8 / seconds))
b=$(theirs "${xvid[@]}" -b:v $rate -pass 1 -passlogfile "$work/ffx" -f m4v "$work/theirs.m4v")
line "XviD first pass" "$a" "$b"
a=$(ours --codec xvid --mode pass2 --stats "$work/xvid.stats" --kib $kib)
ourx=$(error "$(size "$work/ours.m4v")" $((kib * 1024)))
b=$(theirs "${xvid[@]}" -b:v $rate -pass 2 -passlogfile "$work/ffx" -f m4v "$work/theirs.m4v")
theirx=$(error "$(size "$work/theirs.m4v")" $((kib * 1024)))
line "XviD second pass" "$a" "$b" "$(printf '  size error ours %+.2f %% ffmpeg %+.2f %%' "$ourx" "$theirx")"

a=$(ours --codec divx --mode pass1 --stats "$work/divx.log" --bitrate $rate)
b=$(theirs "${divx[@]}" -b:v $rate -pass 1 -passlogfile "$work/ffd" -f m4v "$work/theirs.m4v")
line "DivX first pass" "$a" "$b"
a=$(ours --codec divx --mode pass2 --stats "$work/divx.log" --bitrate $rate)
target=$((rate * seconds / 8))
ourd=$(error "$(size "$work/ours.m4v")" $target)
b=$(theirs "${divx[@]}" -b:v $rate -pass 2 -passlogfile "$work/ffd" -f m4v "$work/theirs.m4v")
theird=$(error "$(size "$work/theirs.m4v")" $target)
line "DivX second pass" "$a" "$b" "$(printf '  size error ours %+.2f %% ffmpeg %+.2f %%' "$ourd" "$theird")"
