#!/usr/bin/env bash
# Takes a screenshot of the main window under a virtual X server (xvfb-run, ImageMagick's import).
#   scripts/screenshot-main-window.sh [OUTPUT.png]
# The window program runs from a throw-away installation whose tools are empty files, so that
# its start-up check passes without the helper programs; the screenshot shows the window as it
# opens. MOVREX_WINDOW_PROGRAM names another build of the program.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-main-window.png}")"
program="${MOVREX_WINDOW_PROGRAM:-$here/build/src/ui/movrex}"
[ -x "$program" ] || { echo "screenshot: $program is not built" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
inst="$work/Movrex"
for f in DVD2AVI/DVD2AVIdg.exe BeSweet/BeSweet.exe VDubMod/VirtualDubMod.exe \
         filters/mpeg2dec3dg.dll filters/autocrop.dll filters/undot.dll filters/decomb.dll \
         filters/chr.dll filters/kerneldeint.dll filters/vsfilter.dll \
         system/xvidcore.dll system/xvidvfw.dll system/avisynth.dll system/vobsub.dll; do
  mkdir -p "$inst/$(dirname "$f")"
  : > "$inst/$f"
done
cp "$program" "$inst/movrex"

cd "$inst"
export MOVREX_SYSTEM_DIR="$inst/system" MOVREX_CONFIG_DIR="$work/config"
export MOVREX_MACHINE_HIVE="$inst/system/machine.reg" XDG_RUNTIME_DIR="$work"
bash "$here/scripts/xvfb-screenshot.sh" 800x600x24 root "$out" ./movrex
echo "screenshot: $out"
