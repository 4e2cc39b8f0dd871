#!/usr/bin/env bash
# Prints what, besides the program's own code, decides the exact pixels of a
# render: the software renderer, the font rasteriser, the fonts, the picture
# codecs and the processor's vector instructions. Renders made where this
# differs may differ in a few pixels without any fault in the program.
set -euo pipefail
packages=(libgl1-mesa-dri libglx-mesa0 libllvm15 libfreetype6 libfontconfig1 fonts-dejavu-core fonts-dejavu-extra
  libglu1-mesa libavcodec59 libswscale6 libpng16-16)
for package in "${packages[@]}"; do
  printf '%s=%s ' "$package" "$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || echo none)"
done
flags=$(grep -m1 '^flags' /proc/cpuinfo 2>/dev/null || true)
for feature in sse4_2 avx avx2 avx512f; do
  case " $flags " in *" $feature "*) printf '%s ' "$feature" ;; esac
done
echo "$(uname -m)"
