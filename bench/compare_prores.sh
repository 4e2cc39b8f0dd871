#!/usr/bin/env bash
# The two ProRes encoders on our own frames: the start-up scene with its
# title spinning, 1920x1080, 20 frames (FRAMES=N for more), rendered once
# by the program into lossless pictures (with and without transparency),
# then encoded by each encoder as 422 HQ and as 4444 with alpha, on one
# thread as each of the recording's encoder lanes runs it. Prints the
# encoder's frames per second (FFmpeg's own timing), the size per frame and
# the PSNR of the decoded frames against the rendered ones (alpha included
# for 4444). The recording's own speed is bench_record's.
#
#   bench/compare_prores.sh [path/to/quorbel]    (from the repository folder)
set -euo pipefail
quorbel=${1:-build/quorbel}
frames=${FRAMES:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
common=(--size 1920x1080 --fps 60 --frames "$frames" --seed 7 --set textSpinY=2 --set textSpinSpeedY=20)
"$quorbel" --record "$work/opaque.png" "${common[@]}" 2>/dev/null
"$quorbel" --record "$work/alpha.png" --alpha "${common[@]}" 2>/dev/null

encode() {  # reference pattern, codec, profile number, pixel format, output
  ffmpeg -v info -benchmark -i "$1" -threads 1 -c:v "$2" -profile:v "$3" -pix_fmt "$4" -color_primaries bt709 \
    -color_trc bt709 -colorspace bt709 -y "$5" 2>&1 | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p'
}

psnr() {  # recording, reference pattern, compared format
  ffmpeg -v info -i "$1" -i "$2" -lavfi "[0:v]format=$3[a];[1:v]format=$3[b];[a][b]psnr" -f null - 2>&1 |
    grep -o 'PSNR .*' | tail -1
}

printf '%-10s %-5s %8s %11s  %s\n' encoder kind "fps" "kB/frame" "PSNR (dB) against the render"
for kind in hq 4444; do
  if [[ $kind == hq ]]; then
    ref="$work/opaque_%05d.png" profile=3 format=yuv422p10le compared=rgb24
  else
    ref="$work/alpha_%05d.png" profile=4 format=yuva444p10le compared=rgba
  fi
  for codec in prores_ks prores_aw; do
    out="$work/$codec-$kind.mov"
    seconds=$(encode "$ref" "$codec" "$profile" "$format" "$out")
    fps=$(echo "$frames / $seconds" | bc -l)
    kb=$(stat -c %s "$out" | awk -v n="$frames" '{ printf "%.0f", $1 / n / 1000 }')
    printf '%-10s %-5s %8.1f %11s  %s\n' "$codec" "$kind" "$fps" "$kb" "$(psnr "$out" "$ref" "$compared")"
  done
done
