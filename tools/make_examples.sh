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

source "$repo/tools/scene_list.sh"
make_scene_run_folder

for scene in "$repo"/examples/*.scene; do
  out="${scene%.scene}.qrl"
  save_scene_list "$program" "$scene" scene.qrl
  cp "$run/scene.qrl" "$out"
  echo "wrote $out"
done
