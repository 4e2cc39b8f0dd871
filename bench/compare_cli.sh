#!/usr/bin/env bash
# The heavy scene (bench/scenes.cpp) through the command line, the way a
# user renders it: `quorbel --snapshot FILE --frames N --set ...`, start-up
# included, in a folder that links the pictures and holds no settings file,
# so every build starts from its built-in values and draws the same scene
# as bench_scene's heavy rows. The time per steady frame is the difference
# between a run of W frames (start-up and warm-up) and one of W + N, so
# start-up and the snapshot cancel out. Several builds are measured in
# turns, so that a change in the machine's load hits all of them; the
# fastest pair of each counts. The last pictures (fixed seed) of every build
# are then compared with the first build's.
#
#   bench/compare_cli.sh [--repeats R] [--frames N] [--warmup W] BINARY...   (from the repository folder)
set -euo pipefail
repeats=3 frames=40 warmup=10
while [[ $# -gt 0 && $1 == --* ]]; do
  case $1 in
    --repeats) repeats=$2 ;;
    --frames) frames=$2 ;;
    --warmup) warmup=$2 ;;
  esac
  shift 2
done
binaries=()
for binary in "$@"; do binaries+=("$(realpath "$binary")"); done
# The fields bench/scenes.cpp's heavy scene sets.
sets=(particleCount=30000 particlesShown=2 particleSpeed=85 tunnelShown=2 tunnelRebuildPending=2 starsHidden=0
      starsToggleCount=1 tilesShown=2 fireShown=2 radialBlurOn=2 blurActive=2 radialText=2 radialParticles=2
      blurDensity=100 blurFadeAlpha=100 blurLayerRed=1 blurLayerGreen=1 blurLayerBlue=1)
options=(--seed 1)
for s in "${sets[@]}"; do options+=(--set "$s"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$PWD/Data" "$work/Data"
ln -s "$PWD/gfx" "$work/gfx"

seconds() {  # binary, frames, picture
  local start end
  start=$(date +%s.%N)
  (cd "$work" && "$1" --snapshot "$3" --frames "$2" "${options[@]}" 2>/dev/null)
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

declare -A best
for ((r = 0; r < repeats; ++r)); do
  for i in "${!binaries[@]}"; do
    binary=${binaries[$i]}
    short=$(seconds "$binary" "$warmup" short.png)
    long=$(seconds "$binary" $((warmup + frames)) "last$i.png")
    ms=$(echo "1000 * ($long - $short) / $frames" | bc -l)
    printf '%s run %d: %.1f ms a frame\n' "$binary" $((r + 1)) "$ms"
    if [[ -z ${best[$binary]:-} ]] || (($(echo "$ms < ${best[$binary]}" | bc -l))); then best[$binary]=$ms; fi
  done
done
first=${best[${binaries[0]}]}
for i in "${!binaries[@]}"; do
  binary=${binaries[$i]}
  # Largest channel difference from the first build's last picture, and the
  # share of pixels within 2 levels of it.
  pixels=$(compare -metric PAE "$work/last0.png" "$work/last$i.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
  within=$(compare -metric AE -fuzz 0.79% "$work/last0.png" "$work/last$i.png" null: 2>&1 || true)
  printf '%-40s %8.1f ms a frame (best of %d), %.2f x the first; pixels: largest difference %.0f levels, %s differ by more than 2\n' \
    "$binary" "${best[$binary]}" "$repeats" "$(echo "$first / ${best[$binary]}" | bc -l)" \
    "$(echo "${pixels:-0} * 255" | bc -l)" "$within"
done
