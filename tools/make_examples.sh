#!/usr/bin/env bash
# Rebuilds the demo scenes examples/NAME.qrl from examples/NAME.scene with
# the program's own settings writer (--set NAME=VALUE for every line, in
# order, then --save-settings). Each runs in an empty folder that only links
# Data/ and gfx/, so no earlier settings file takes part.
# Usage: tools/make_examples.sh     QUORBEL=path/to/quorbel selects the program.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${QUORBEL:-$repo/build/quorbel}")
[ -x "$program" ] || { echo "make_examples: no program at $program (build first)" >&2; exit 2; }

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
ln -s "$repo/Data" "$run/Data"
ln -s "$repo/gfx" "$run/gfx"

for scene in "$repo"/examples/*.scene; do
  sets=()
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%%#*}
    line=${line#"${line%%[![:space:]]*}"}
    line=${line%"${line##*[![:space:]]}"}
    [ -n "$line" ] && sets+=(--set "$line")
  done < "$scene"
  out="${scene%.scene}.qrl"
  # Paused, so that the one frame moves nothing before the values are saved.
  if ! (cd "$run" && "$program" --frames 1 --size 64x48 --set paused=2 "${sets[@]}" \
          --save-settings scene.qrl > "$run/log" 2>&1); then
    cat "$run/log" >&2
    exit 1
  fi
  cp "$run/scene.qrl" "$out"
  echo "wrote $out"
done
