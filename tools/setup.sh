#!/usr/bin/env bash
# Installs the Debian packages Quorbel needs (only the missing ones) and
# configures and builds it into build/ when out of date. Used by run.sh,
# test.sh and CI; with --packages-only it stops after the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake g++ pkg-config make qt6-base-dev libqt6opengl6-dev libx11-dev libxtst-dev xdotool libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0
  libgl1-mesa-dri libfreetype-dev libfontconfig-dev libharfbuzz-dev libfribidi-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-kacst-one fonts-lohit-deva fonts-wqy-microhei libavformat-dev libavcodec-dev
  libavutil-dev libswscale-dev libpng-dev libgtest-dev libbenchmark-dev xvfb xauth ffmpeg imagemagick
  clang libclang-rt-14-dev python3 python3-pil)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" = "--packages-only" ] && exit 0

jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j"$jobs"
