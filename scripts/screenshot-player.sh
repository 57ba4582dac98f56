#!/usr/bin/env bash
# Takes a screenshot of the preview player under a virtual X server (xvfb-run, ImageMagick's
# import), paused at one frame.
#   scripts/screenshot-player.sh [OUTPUT.png] [SCRIPT.avs [FRAME]]
# SCRIPT is any frame-server script, for example the "<name>_preview.avs" that "Preview" left in
# a job's mx_tmp folder; FRAME defaults to 30. Without SCRIPT the player shows the PAL 16:9 test
# title of tests/media/make_dvd_titles.sh at the size the planner's preview gives it (704x384):
# ffmpeg decodes the title's VOB for the frame server's test source (built with the tests), which
# takes the decoder plugin's place. The player comes from build/dist (scripts/build.sh installs it).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-player-window.png}")"
script="${2:-}"
frame="${3:-30}"
player="$here/build/dist/Program Files/Windows Media Player/mplayer2.exe"
[ -x "$player" ] || { echo "screenshot: $player is not installed" >&2; exit 1; }
for tool in ffmpeg; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ -z "$script" ]; then
  source_plugin="$here/build/tests/tools/frameserver/fs_source_plugin.so"
  [ -f "$source_plugin" ] || { echo "screenshot: $source_plugin is not built" >&2; exit 1; }
  bash "$here/tests/media/make_dvd_titles.sh" "$here/build/media/dvd"
  ffmpeg -v error -i "$here/build/media/dvd/pal_wide/rip/VTS_01_1.VOB" -map 0:v \
    -f yuv4mpegpipe "$work/title.y4m"
  script="$work/film_preview.avs"
  printf 'LoadPlugin("%s")\r\nmpeg2source("%s")\r\nLanczosResize(704,384)\r\n' \
    "$source_plugin" "$work/title.y4m" >"$script"
fi
script="$(realpath "$script")"

export XDG_RUNTIME_DIR="$work"
bash "$here/scripts/xvfb-screenshot.sh" 1024x768x24 "$(basename "$script")" "PNG8:$out" \
  "$player" --frame "$frame" "$script"
echo "screenshot: $out"
