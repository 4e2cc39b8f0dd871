#!/usr/bin/env bash
# The heavy scene (bench/scenes.cpp) through the command line, the way a
# user renders it: `quorbel --snapshot FILE --frames N --set ...`, start-up
# and settings file included. The time per steady frame is the difference
# between a run of W frames (start-up, fade-in, warm-up) and one of W + N,
# so start-up and the snapshot cancel out. Several builds are measured in
# turns, so that a change in the machine's load hits all of them; the
# fastest pair of each counts.
#
#   bench/compare_cli.sh [--repeats R] [--frames N] [--warmup W] BINARY...   (from the repository folder)
set -euo pipefail
repeats=3 frames=40 warmup=60
while [[ $# -gt 0 && $1 == --* ]]; do
  case $1 in
    --repeats) repeats=$2 ;;
    --frames) frames=$2 ;;
    --warmup) warmup=$2 ;;
  esac
  shift 2
done
# The fields bench/scenes.cpp's heavy scene sets.
sets=(particleCount=30000 particlesShown=2 particleSpeed=85 tunnelShown=2 tunnelRebuildPending=2 starsHidden=0
      starsToggleCount=1 tilesShown=2 fireShown=2 radialBlurOn=2 blurActive=2 radialText=2 radialParticles=2
      blurDensity=100 blurFadeAlpha=100 blurLayerRed=1 blurLayerGreen=1 blurLayerBlue=1)
options=()
for s in "${sets[@]}"; do options+=(--set "$s"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() {  # binary, frames
  local start end
  start=$(date +%s.%N)
  "$1" --snapshot "$work/frame.png" --frames "$2" "${options[@]}" 2>/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

declare -A best
for ((r = 0; r < repeats; ++r)); do
  for binary in "$@"; do
    short=$(seconds "$binary" "$warmup")
    long=$(seconds "$binary" $((warmup + frames)))
    ms=$(echo "1000 * ($long - $short) / $frames" | bc -l)
    printf '%s run %d: %.1f ms a frame\n' "$binary" $((r + 1)) "$ms"
    if [[ -z ${best[$binary]:-} ]] || (($(echo "$ms < ${best[$binary]}" | bc -l))); then best[$binary]=$ms; fi
  done
done
first=${best[$1]}
for binary in "$@"; do
  printf '%-40s %8.1f ms a frame (best of %d), %.2f x the first\n' "$binary" "${best[$binary]}" "$repeats" \
    "$(echo "$first / ${best[$binary]}" | bc -l)"
done
