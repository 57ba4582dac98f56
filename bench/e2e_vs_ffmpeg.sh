#!/usr/bin/env bash
# e2e_vs_ffmpeg.sh [BUILD] [RUNS] [SIZE_MB]: the whole Movrex job against converting the same
# title by hand with ffmpeg, on the two titles of make_e2e_bench_titles.sh (30 s of NTSC soft
# pulldown FILM, 30 s of PAL interlaced video), at the same target size (SIZE_MB, 5 unless given).
#
# Ours: movrex-cli from the staged installation (BUILD/dist, made by scripts/build.sh), XviD,
# VBR MP3 at an average of 128 kbit/s, everything else as the job decides: index, analysis,
# audio, compressibility test, two passes.
# ffmpeg's: two-pass libxvid with the filters that match what our job chose (the commands are in
# ffmpeg_pass below), to our output's picture size, with MP3 audio from libmp3lame at an average
# of 128 kbit/s; the video bit rate is worked out from the target size as one does by hand: size
# over duration less the audio's bit rate.
#
# Each side runs RUNS times (3 unless given), ours and ffmpeg's taking turns, and the fastest run
# counts, as other work on the machine only ever slows a run down; the slowest is printed too, to
# show how noisy the machine was, and so are the CPU seconds, which other work moves far less.
# Both sides run at idle priority, as the job runs its helpers, so that other work on a shared
# machine slows both alike.
#
# Printed per title: the time of each (ours per stage, from the job's log lines as they appear;
# ffmpeg's per pass), the time ratio ours / ffmpeg's (goal: 1.0 or less), each output's size
# against the target, its frame count and SSIM against the pictures the title was made from (the
# film frames; for the interlaced title each frame's first field), cropped and scaled as the
# outputs are, and the audio/video offset (audio late positive) of the first and the last beep
# against the flash that goes with it, as ffmpeg plays each output, less the same measurement on
# the title itself (its own zero: the beep detector's rise time). The outputs stay in
# BUILD/e2e_bench until the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-3}
size_mb=${3:-5}
mbd=${FFMPEG_MBD:-rd}  # ffmpeg's macroblock decision: rd as bench/jobrunner_bench.sh, or bits, simple
dist=$build/dist
[ -x "$dist/movrex-cli" ] || { echo "e2e_vs_ffmpeg: $dist/movrex-cli is missing; run scripts/build.sh" >&2; exit 1; }
for tool in ffmpeg ffprobe bc chrt; do
  command -v "$tool" >/dev/null || { echo "e2e_vs_ffmpeg: $tool is missing" >&2; exit 1; }
done
media=$build/media/e2e_bench
bash "$root/bench/make_e2e_bench_titles.sh" "$media"
work=$build/e2e_bench
rm -rf "$work"
mkdir -p "$work"
target=$((size_mb * 1048576))
ff() { ffmpeg -nostdin -hide_banner -nostats -y "$@"; }
calc() { echo "$*" | bc -l; }
TIMEFORMAT='%R %U %S'

# timed LOG COMMAND...: runs COMMAND with its output in LOG and sets real and cpu to its seconds
# (cpu: user and system time of it and of every child it waited for).
timed() {
  local log=$1 t
  shift
  t=$( { time "$@" >"$log" 2>&1; } 2>&1 ) || {
    echo "e2e_vs_ffmpeg: failed: $*" >&2
    tail -n 20 "$log" >&2
    exit 1
  }
  read -r real cpu < <(echo "$t" | awk '{ print $1, $2 + $3 }')
}

# ours_job TITLE OUTPUT: the whole job in a fresh configuration folder (so the stored options are
# the defaults). Each line it logs goes into OUTPUT.lines behind the time it arrived and the CPU
# ticks of the helper programs the job has waited for so far, which the stages are told by.
ours_job() {
  local config pid line stat=()
  config=$(mktemp -d -p "$work")
  rm -f "$work/lines"
  mkfifo "$work/lines"
  (cd "$dist" && MOVREX_CONFIG_DIR=$config exec ./movrex-cli --input "$media/$1/rip" \
    --output "$2" --overwrite --size "$size_mb" --codec xvid --audio-mode vbr --audio-bitrate 128) \
    >"$work/lines" &
  pid=$!
  while IFS= read -r line; do
    read -r -a stat <"/proc/$pid/stat" 2>/dev/null || true  # fields 16 and 17: children's CPU
    printf '%s %s %s\n' "$EPOCHREALTIME" "$((${stat[15]:-0} + ${stat[16]:-0}))" "$line"
  done <"$work/lines" >"$2.lines"
  wait "$pid"
}

# stages LINES REAL: the seconds and CPU seconds of each stage of the job, from the stamped lines
# that open and close them; "other" is the rest of REAL (start-up, the FILM check, budget and
# decisions, the end).
stages() {
  awk -v real="$2" -v tick="$(getconf CLK_TCK)" '
    function mark(name) {
      if (stage != "") { spent[stage] += $1 - at; cpu[stage] += ($2 - ticks) / tick }
      stage = name; at = $1; ticks = $2
    }
    / Demuxing and indexing\.$/ { mark("index") }
    / Found [0-9]+ frames$/ { mark("") }
    / Analyzing source\.$/ { mark("analysis") }
    / Encoding audio\.$/ { mark("audio") }
    / Audio size: / { mark("") }
    / Running compressibility test\.$/ { mark("test") }
    / Compressibility percentage is: / { mark("") }
    / Running first pass\.$/ { mark("pass 1") }
    / Running second pass\.$/ { mark("pass 2") }
    / Job finished\.$/ { mark("") }
    END {
      n = split("index,analysis,audio,test,pass 1,pass 2", names, ",")
      for (i = 1; i <= n; i++) {
        printf "%s %.1f s (CPU %.1f s), ", names[i], spent[names[i]], cpu[names[i]]
        sum += spent[names[i]]
      }
      printf "other %.1f s\n", real - sum
    }' "$1"
}

# probe FILE ENTRY: one value of the first video stream.
probe() { ffprobe -v error -select_streams v:0 -show_entries "stream=$2" -of csv=p=0 "$1" | cut -d, -f1; }

# crop_for W H SRC_W SRC_H PIXEL_ASPECT: ffmpeg's crop of the whole source picture (the titles
# have no black borders) to the shape the job's script cuts for a W x H output: the longer side
# cut to the ratio nearest (W / H) / pixel aspect in multiples of 4, centred on an even line.
crop_for() {
  awk -v w="$1" -v h="$2" -v sw="$3" -v sh="$4" -v par="$5" 'BEGIN {
    a = w / h / par; cw = sw; ch = sh
    if (sw / sh > a) { cw = int(sh * a / 4 + 0.5) * 4; if (cw > sw) cw -= 4 }
    else { ch = int(sw / a / 4 + 0.5) * 4; if (ch > sh) ch -= 4 }
    printf "crop=%d:%d:%d:%d\n", cw, ch, int((sw - cw) / 4) * 2, int((sh - ch) / 4) * 2
  }'
}

# ffmpeg_pass N VOB OUTPUT FILTERS KBPS RATE KEYINT: pass N of converting the title by hand, at
# idle priority. The XviD settings that cost time are the job's: one B-frame, the key interval,
# the motion search and a rate-distortion mode decision (-mbd rd adds rate-distortion refinements
# of the motion search that the job's codec settings leave out: twice the second pass's CPU).
ffmpeg_pass() {
  local x=(-i "$2" -map 0:v:0 -vf "$4" -r "$6" -c:v libxvid -b:v "$5k" -bf 1 -g "$7" -me_quality 6
           -mbd "$mbd" -passlogfile "$3.pass" -pass "$1")
  if [ "$1" = 1 ]; then x+=(-an -f avi /dev/null); else x+=(-map 0:a:0 -c:a libmp3lame -abr 1 -b:a 128k "$3"); fi
  chrt --idle 0 nice -n 19 ffmpeg -nostdin -hide_banner -nostats -y "${x[@]}"
}

# ssim TITLE DEINTERLACER SCALE RATE OURS THEIRS: frame count and SSIM (All, the mean over the
# frames) of each output against two references, frames paired in order: the pictures the title
# was made from (its reference.lavfi) cut and scaled by SCALE, and the title decoded and filtered
# by ffmpeg's chain (DEINTERLACER and SCALE) without any coding, which holds ffmpeg's deinterlacer.
ssim() {
  local vob=$media/$1/rip/VTS_01_1.VOB i r
  local g="[2:v]$3,setpts=N/(25*TB),split[s0][s1];[3:v]setpts=N/(25*TB),split[f0][f1]"
  for i in 0 1; do g+=";[$i:v]setpts=N/(25*TB),split[v${i}s][v${i}f]"; done
  for i in 0 1; do
    for r in s f; do
      g+=";[v$i$r][$r$i]ssim=shortest=1,metadata=print:file='$work/ssim$i$r'[o$i$r]"
    done
  done
  ff -i "$vob" -map 0:v:0 -vf "$2$3" -r "$4" -f yuv4mpegpipe - 2>"$work/reference.log" |
    ff -i "$5" -i "$6" -f lavfi -i "$(cat "$media/$1/reference.lavfi")" -f yuv4mpegpipe -i - \
      -filter_complex "$g" -map "[o0s]" -map "[o0f]" -map "[o1s]" -map "[o1f]" -f null - 2>"$work/ssim.log" ||
    { tail "$work/reference.log" "$work/ssim.log" >&2; exit 1; }
  for i in 0 1; do
    awk '/^frame:/ { n++ } /lavfi.ssim.All=/ { sub(/.*=/, ""); s += $0 }
         END { printf "%d frames: SSIM %.4f", n, n ? s / n : 0 }' "$work/ssim${i}s"
    awk '/lavfi.ssim.All=/ { n++; sub(/.*=/, ""); s += $0 } END { printf " (%.4f)\n", n ? s / n : 0 }' "$work/ssim${i}f"
  done
}

# sync FILE: "first last", the offsets in ms (audio late positive) of the beep nearest to the
# first and to the last flash that has one within half a second, as ffmpeg plays FILE: a flash
# starts on the first frame whose middle is white after one that is not, a beep where the 1 kHz
# band leaves silence (silencedetect also reports the end of the file: no flash is near that).
sync() {
  ff -i "$1" -map 0:v:0 -vf "crop=iw/10:ih/10,signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-" \
    -f null - 2>/dev/null |
    awk '/pts_time:/ { sub(/.*pts_time:/, ""); t = $1 }
         /YAVG=/ { sub(/.*=/, ""); y = $0 + 0; if (y > 128 && !on) print t; on = (y > 128) }' >"$work/flashes"
  ff -i "$1" -map 0:a:0 -af "bandpass=f=1000:width_type=q:w=4,silencedetect=n=-30dB:d=0.3" -f null - 2>&1 |
    sed -n 's/.*silence_end: \([0-9.]*\).*/\1/p' >"$work/beeps"
  awk 'NR == FNR { b[++nb] = $1; next }
       { best = 1; for (i = 1; i <= nb; i++) { d = b[i] - $1; if (d * d < best * best) best = d }
         if (best * best < 0.25) { if (first == "") first = best; last = best } }
       END { if (first == "") print "none none"; else printf "%.1f %.1f\n", first * 1000, last * 1000 }' \
    "$work/beeps" "$work/flashes"
}

# relative MS TITLE-MS: an offset less the title's own, signed, in ms.
relative() {
  if [ "$1" = none ] || [ "$2" = none ]; then echo none; else calc "$1 - $2" | xargs printf '%+.1f'; fi
}

# keep_best NAME REAL CPU: remembers the fastest and the slowest run of NAME.
keep_best() {
  local -n best=$1
  if [ -z "${best[real]:-}" ] || [ "$(calc "$2 < ${best[real]}")" = 1 ]; then best[real]=$2 best[cpu]=$3; fi
  if [ -z "${best[worst]:-}" ] || [ "$(calc "$2 > ${best[worst]}")" = 1 ]; then best[worst]=$2; fi
}

# bench TITLE RATE KEYINT PIXEL_ASPECT DEINTERLACER: one title, both sides, and its table.
bench() {
  local title=$1 rate=$2 keyint=$3 par=$4 deint=$5
  local vob=$media/$1/rip/VTS_01_1.VOB dir=$work/$1
  local ours=$dir/ours.avi theirs=$dir/theirs.avi frames kbps w h scale n real cpu r1 c1
  declare -A o=() f=() f1=() f2=()
  mkdir -p "$dir"
  frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$vob" | cut -d, -f1)
  kbps=$(calc "($target * 8 / ($frames / ($rate)) - 128000) / 1000" | cut -d. -f1)
  for ((n = 0; n < runs; n++)); do
    timed "$dir/ours.log" ours_job "$title" "$ours"
    [ -n "${o[real]:-}" ] && [ "$(calc "$real >= ${o[real]}")" = 1 ] || cp "$ours.lines" "$dir/best.lines"
    keep_best o "$real" "$cpu"
    if [ $n = 0 ]; then
      w=$(probe "$ours" width) h=$(probe "$ours" height)
      scale="$(crop_for "$w" "$h" "$(probe "$vob" width)" "$(probe "$vob" height)" "$par"),scale=$w:$h:flags=lanczos"
    fi
    timed "$dir/pass1.log" ffmpeg_pass 1 "$vob" "$theirs" "$deint$scale" "$kbps" "$rate" "$keyint"
    r1=$real c1=$cpu
    keep_best f1 "$real" "$cpu"
    timed "$dir/pass2.log" ffmpeg_pass 2 "$vob" "$theirs" "$deint$scale" "$kbps" "$rate" "$keyint"
    keep_best f2 "$real" "$cpu"
    keep_best f "$(calc "$r1 + $real")" "$(calc "$c1 + $cpu")"
  done
  local ssims sync_ours sync_theirs sync_title
  mapfile -t ssims < <(ssim "$title" "$deint" "$scale" "$rate" "$ours" "$theirs")
  read -r -a sync_title < <(sync "$vob")
  read -r -a sync_ours < <(sync "$ours")
  read -r -a sync_theirs < <(sync "$theirs")
  echo
  echo "== $title: $frames frames to ${w}x$h, target $size_mb MiB = $target bytes (ffmpeg: ${kbps}k + 128k), fastest of $runs runs"
  printf 'time      ours %5.1f s  ffmpeg %5.1f s  ratio %4.2f   CPU ours %5.1f s  ffmpeg %5.1f s  ratio %4.2f   slowest ours %5.1f s  ffmpeg %5.1f s\n' \
    "${o[real]}" "${f[real]}" "$(calc "${o[real]} / ${f[real]}")" \
    "${o[cpu]}" "${f[cpu]}" "$(calc "${o[cpu]} / ${f[cpu]}")" "${o[worst]}" "${f[worst]}"
  echo "  ours by stage: $(stages "$dir/best.lines" "${o[real]}")"
  printf '  ffmpeg by pass: pass 1 %.1f s (CPU %.1f s), pass 2 %.1f s (CPU %.1f s)\n' \
    "${f1[real]}" "${f1[cpu]}" "${f2[real]}" "${f2[cpu]}"
  printf 'size      ours %+.2f %%  ffmpeg %+.2f %%  against the target\n' \
    "$(calc "($(stat -c %s "$ours") - $target) * 100 / $target")" \
    "$(calc "($(stat -c %s "$theirs") - $target) * 100 / $target")"
  echo "SSIM      ours ${ssims[0]}  ffmpeg ${ssims[1]}  (against the source pictures; in brackets against ffmpeg's uncoded chain)"
  printf 'A/V (ms)  ours first %s last %s  ffmpeg first %s last %s  (a frame is %.1f ms; the title measures %s and %s)\n' \
    "$(relative "${sync_ours[0]}" "${sync_title[0]}")" "$(relative "${sync_ours[1]}" "${sync_title[1]}")" \
    "$(relative "${sync_theirs[0]}" "${sync_title[0]}")" "$(relative "${sync_theirs[1]}" "${sync_title[1]}")" \
    "$(calc "1000 / ($rate)")" "${sync_title[0]}" "${sync_title[1]}"
  echo "ffmpeg:   ffmpeg -i VTS_01_1.VOB -map 0:v:0 -vf \"$deint$scale\" -r $rate -c:v libxvid -b:v ${kbps}k" \
    "-bf 1 -g $keyint -me_quality 6 -mbd $mbd -pass 1 -an -f avi /dev/null, then -pass 2 -map 0:a:0" \
    "-c:a libmp3lame -abr 1 -b:a 128k theirs.avi"
}

echo "e2e_vs_ffmpeg: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) before the runs"
# FILM: ffmpeg's plain decode, which does not play the repeated fields out: the forced-FILM view
# our index gives a pure FILM title. Interlaced: yadif, one frame per frame, first field kept.
bench film 24000/1001 240 0.911392405063291 ""
bench interlaced 25 250 1.09401709401709 "yadif=mode=0:parity=tff,"
echo
echo "e2e_vs_ffmpeg: load average $(cut -d' ' -f1-3 /proc/loadavg) after the runs"
