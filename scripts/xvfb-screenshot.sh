#!/usr/bin/env bash
# Starts a program under a virtual X server, waits three seconds for its window to settle, saves
# a screenshot with ImageMagick's import and ends the program. Shared by the screenshot scripts.
#   scripts/xvfb-screenshot.sh SCREEN WINDOW OUTPUT PROGRAM [ARGUMENTS...]
# SCREEN is the virtual screen (1024x768x24); WINDOW is "root" for the whole screen or a window's
# title. The program runs in the current folder and environment.
set -euo pipefail
[ $# -ge 4 ] || { echo "usage: $0 SCREEN WINDOW OUTPUT PROGRAM [ARGUMENTS...]" >&2; exit 2; }
for tool in xvfb-run /usr/bin/import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
screen=$1 window=$2 out=$3
shift 3
# The inner shell gets everything as arguments, so no path is ever parsed twice.
xvfb-run -a -s "-screen 0 $screen" bash -c '
  window=$1 out=$2
  shift 2
  "$@" &
  pid=$!
  sleep 3
  /usr/bin/import -window "$window" "$out"
  kill $pid
  wait $pid 2>/dev/null || true
' shot "$window" "$out" "$@"
