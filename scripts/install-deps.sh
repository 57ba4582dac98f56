#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (as root). Quick when all are there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libavcodec-dev libavformat-dev libavfilter-dev libswscale-dev libavutil-dev libswresample-dev
  libxvidcore-dev libmp3lame-dev libarchive-dev zlib1g-dev
  qt6-base-dev
  ffmpeg mjpegtools dvdauthor lsdvd imagemagick xvfb xauth 7zip unrar-free libarchive-tools unar
  parallel
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: these packages are missing and need root: ${missing[*]}" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
