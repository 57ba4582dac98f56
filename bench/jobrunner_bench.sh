#!/usr/bin/env bash
# jobrunner_bench.sh [BUILD] [LOOPS] [RUNS]: frames per second of a two-pass XviD encode of the FILM
# test title (ntsc_film of tests/media/make_dvd_titles.sh, its 48 film frames played LOOPS times,
# 10 unless given) through the installed job runner, against ffmpeg's two-pass libxvid doing the
# same work in the same run: the same frames, the same Lanczos resize to 640x480 (libswscale on
# both sides), the same target (half of what our first pass took), B-frames, key interval and
# motion search. Until
# the decoder plugin lands, the frame server's test source reads the title decoded by ffmpeg
# (.y4m) for both. Needs a build with the staged installation (scripts/build.sh) and the test
# plugins (the frameserver tests' targets). Each pass runs RUNS times (3 unless given) and the
# fastest counts, as other work on the machine only ever slows a run down. Prints per pass and
# in all: fps of each, the ratio (above 1: ours is faster) and the CPU use of each (200 % is both
# cores busy).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
loops=${2:-10}
runs=${3:-3}
dist=$build/dist
runner=$dist/VDubMod/VirtualDubMod.exe
plugins=$build/tests/tools/frameserver
for f in "$runner" "$plugins/fs_source_plugin.so" "$plugins/fs_standin_filters.so"; do
  [ -e "$f" ] || { echo "jobrunner_bench: $f is missing; build and install first" >&2; exit 1; }
done
bash "$root/tests/media/make_dvd_titles.sh" "$build/media/dvd" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MOVREX_CONFIG_DIR=$work/config MOVREX_SYSTEM_DIR=$dist/system
export MOVREX_MACHINE_HIVE=$dist/system/machine.reg
mkdir -p "$work/filters" "$work/config"
cp "$plugins/fs_source_plugin.so" "$work/filters/mpeg2dec3dg.dll"
cp "$plugins/fs_standin_filters.so" "$work/filters/undot.dll"

# The film frames as the decoder serves a forced-FILM title: 23.976 progressive frames.
ffmpeg -v error -i "$build/media/dvd/ntsc_film/rip/VTS_01_1.VOB" -map 0:v -f yuv4mpegpipe "$work/once.y4m"
ffmpeg -v error -stream_loop $((loops - 1)) -i "$work/once.y4m" -f yuv4mpegpipe "$work/film.y4m"
frames=$((48 * loops))
seconds=$(echo "$frames * 1001 / 24000" | bc -l)
crlf() { sed 's/$/\r/' >"$1"; }
crlf "$work/movie.avs" <<EOF
LoadPlugin("$work/filters/mpeg2dec3dg.dll")
LoadPlugin("$work/filters/undot.dll")
mpeg2source("$work/film.y4m")
LanczosResize(640,480)
Undot()
EOF
# The planner's fixed XviD values that matter for speed are the codec's defaults; the pass, its
# statistics file and the target come from here.
xvid() {
  crlf "$work/config/user.reg" <<EOF
Windows Registry Editor Version 5.00

[Software\\GNU\\XviD]
"mode"=dword:0000000$1
"stats"="$work/xvid.stats"
"desired_size"=dword:$(printf %08x "${kib:-1}")
"max_key_interval"=dword:000000f0
EOF
}
job() {  # job FILE
  crlf "$work/job.vcf" <<EOF
VirtualDub.Open("$work/movie.avs",0,0);
VirtualDub.video.SetMode(1);
VirtualDub.video.SetCompression(0x64697678,0,10000,0);
VirtualDub.video.SetCompData(0,"");
VirtualDub.SaveAVI("$1");
EOF
}
TIMEFORMAT='%R %U %S'
timed() {  # timed COMMAND...: "real user+sys" of the fastest of $runs runs
  local t best="" n
  for ((n = 0; n < runs; n++)); do
    t=$( { time "$@" >/dev/null 2>"$work/errors" || { cat "$work/errors" >&2; exit 1; }; } 2>&1 )
    best=$(printf '%s\n%s\n' "$best" "$(echo "$t" | awk '{ print $1, $2 + $3 }')" | sort -n | grep . | head -1)
  done
  echo "$best"
}
size() { ffprobe -v error -select_streams v -show_entries packet=size -of csv=p=0 "$1" | awk '{ s += $1 } END { print s }'; }

xvid 1; job "$work/ours.avi"; read -r o1 oc1 < <(timed "$runner" /x /s"$work/job.vcf")
kib=$(($(size "$work/ours.avi") / 2 / 1024))
kbps=$(echo "$kib * 1024 * 8 / $seconds / 1000" | bc)
xvid 2; read -r o2 oc2 < <(timed "$runner" /x /s"$work/job.vcf")
ffx=(-hide_banner -nostats -y -i "$work/film.y4m" -vf scale=640:480:flags=lanczos -c:v libxvid
     -threads 0 -b:v ${kbps}k -bf 1 -g 240 -me_quality 6 -mbd rd -passlogfile "$work/ff")
read -r f1 fc1 < <(timed ffmpeg "${ffx[@]}" -pass 1 -f avi /dev/null)
read -r f2 fc2 < <(timed ffmpeg "${ffx[@]}" -pass 2 "$work/theirs.avi")

line() {  # name our-real our-cpu their-real their-cpu
  printf '%-12s ours %6.1f fps (CPU %3.0f %%)  ffmpeg %6.1f fps (CPU %3.0f %%)  ratio %4.2f\n' "$1" \
    "$(echo "$frames / $2" | bc -l)" "$(echo "100 * $3 / $2" | bc -l)" \
    "$(echo "$frames / $4" | bc -l)" "$(echo "100 * $5 / $4" | bc -l)" "$(echo "$4 / $2" | bc -l)"
}
echo "$frames frames of 720x480 film to 640x480 XviD at $kbps kbit/s, two passes"
line "first pass" "$o1" "$oc1" "$f1" "$fc1"
line "second pass" "$o2" "$oc2" "$f2" "$fc2"
line "both" "$(echo "$o1 + $o2" | bc -l)" "$(echo "$oc1 + $oc2" | bc -l)" \
  "$(echo "$f1 + $f2" | bc -l)" "$(echo "$fc1 + $fc2" | bc -l)"
printf 'video bytes against the target: ours %.1f %%, ffmpeg %.1f %%\n' \
  "$(echo "100 * $(size "$work/ours.avi") / ($kib * 1024)" | bc -l)" \
  "$(echo "100 * $(size "$work/theirs.avi") / ($kib * 1024)" | bc -l)"
