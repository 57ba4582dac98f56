#!/usr/bin/env bash
# Takes a screenshot of the preview player under a virtual X server (xvfb-run, ImageMagick's
# import), paused at one frame.
#   scripts/screenshot-player.sh [OUTPUT.png] [SCRIPT.avs [FRAME]]
# SCRIPT is any frame-server script, for example the "<name>_preview.avs" that "Preview" left in
# a job's mx_preview folder; FRAME defaults to 12. Without SCRIPT the headless program makes the
# preview of the PAL 16:9 test title of tests/media/make_dvd_titles.sh with its English
# captions, as "Preview" does (the installed indexer, subtitle library, decoder and filters),
# and the player shows it at a frame with a caption. Everything comes from build/dist
# (scripts/build.sh installs it).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-player-window.png}")"
script="${2:-}"
frame="${3:-12}"
player="$here/build/dist/Program Files/Windows Media Player/mplayer2.exe"
[ -x "$player" ] || { echo "screenshot: $player is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work" MOVREX_CONFIG_DIR="$work/config"
if [ -z "$script" ]; then
  bash "$here/tests/media/make_dvd_titles.sh" "$here/build/media/dvd"
  mkdir -p "$work/out"
  # The player the preview starts ends with this virtual X server.
  xvfb-run -a "$here/build/dist/bin/movrex-cli" --input "$here/build/media/dvd/pal_wide/rip" \
    --output "$work/out/film.avi" --subs 1 --preview >"$work/preview.log" 2>&1 ||
    { cat "$work/preview.log" >&2; exit 1; }
  script="$work/out/mx_preview/film_preview.avs"
  [ -f "$script" ] || { cat "$work/preview.log" >&2; exit 1; }
fi
script="$(realpath "$script")"

bash "$here/scripts/xvfb-screenshot.sh" 1024x768x24 "$(basename "$script")" "PNG8:$out" \
  "$player" --frame "$frame" "$script"
echo "screenshot: $out"
