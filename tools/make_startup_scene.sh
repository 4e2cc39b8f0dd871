#!/usr/bin/env bash
# Rebuilds the shipped start-up scene, "settings.qrl" and "Text.TXT", from
# tools/startup_scene.txt with the program's own writer (--save-settings).
# The run happens in an empty folder that only links Data/ and gfx/, so no
# earlier settings file takes part and the result is the same byte for byte
# on every machine.
# Usage: tools/make_startup_scene.sh [OUTPUT_FOLDER]   (default: the repository)
#        QUORBEL=path/to/quorbel selects the program (default: build/quorbel).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "${1:-$repo}" && pwd)
program=$(realpath "${QUORBEL:-$repo/build/quorbel}")
[ -x "$program" ] || { echo "make_startup_scene: no program at $program (build first)" >&2; exit 2; }

source "$repo/tools/scene_list.sh"
make_scene_run_folder
save_scene_list "$program" "$repo/tools/startup_scene.txt" settings.qrl
cp "$run/settings.qrl" "$run/Text.TXT" "$out/"
echo "wrote $out/settings.qrl and $out/Text.TXT"
