#!/usr/bin/env bash
# The two ProRes encoders on our own frames: a spinning title at 1920x1080,
# 60 frames, recorded by each as 422 HQ and as 4444 with transparency.
# Prints each recording's speed (from the program's summary), the encoder
# alone on one thread (FFmpeg's command line over the same frames, already
# rendered), the file size and the PSNR of the decoded frames against the
# frames as rendered (a lossless PNG recording of the same frames; alpha
# included for 4444).
#
#   bench/compare_prores.sh [path/to/quorbel]    (run from the repository folder)
set -euo pipefail
quorbel=${1:-build/quorbel}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=60
common=(--size 1920x1080 --fps 60 --frames "$frames" --seed 7 --set textSpinY=2 --set textSpinSpeedY=20)

record() { "$quorbel" --record "$@" "${common[@]}" 2>&1 | grep -o 'recorded in .*' || true; }

record "$work/opaque.png" >/dev/null
record "$work/alpha.png" --alpha >/dev/null
# The rendered frames as raw pictures, for the encoder-alone runs.
ffmpeg -v error -i "$work/opaque_%05d.png" -f rawvideo -pix_fmt rgb24 "$work/opaque.rgb"
ffmpeg -v error -i "$work/alpha_%05d.png" -f rawvideo -pix_fmt rgba "$work/alpha.rgba"

encode_alone() {  # raw file, its pixel format, codec, profile number, target format
  ffmpeg -v error -benchmark -f rawvideo -pix_fmt "$2" -s 1920x1080 -i "$1" -threads 1 -c:v "$3" \
    -profile:v "$4" -pix_fmt "$5" -f null - 2>&1 | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p' |
    awk -v n="$frames" '{ printf "%.1f", n / $1 }'
}

psnr() {  # recording, reference pattern, compared format
  ffmpeg -v info -i "$1" -i "$2" -lavfi "[0:v]format=$3[a];[1:v]format=$3[b];[a][b]psnr" -f null - 2>&1 |
    grep -o 'PSNR .*' | tail -1
}

printf '%-10s %-6s %-36s %12s %9s  %s\n' encoder kind "recording" "alone fps" "MB" "PSNR against the render"
for codec in prores_ks prores_aw; do
  for kind in hq 4444; do
    if [[ $kind == hq ]]; then
      args=(); ref="$work/opaque_%05d.png"; raw="$work/opaque.rgb"; rawfmt=rgb24; profile=3
      target=yuv422p10le; compared=rgb24
    else
      args=(--alpha); ref="$work/alpha_%05d.png"; raw="$work/alpha.rgba"; rawfmt=rgba; profile=4
      target=yuva444p10le; compared=rgba
    fi
    out="$work/$codec-$kind.mov"
    took=$(record "$out" --codec "$codec" "${args[@]}")
    alone=$(encode_alone "$raw" "$rawfmt" "$codec" "$profile" "$target")
    size=$(stat -c %s "$out" | awk '{ printf "%.1f", $1 / 1e6 }')
    printf '%-10s %-6s %-36s %12s %9s  %s\n' "$codec" "$kind" "$took" "$alone" "$size" "$(psnr "$out" "$ref" "$compared")"
  done
done
