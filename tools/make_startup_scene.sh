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

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
ln -s "$repo/Data" "$run/Data"
ln -s "$repo/gfx" "$run/gfx"

sets=()
while IFS= read -r line || [ -n "$line" ]; do
  line=${line%%#*}
  line=${line#"${line%%[![:space:]]*}"}
  line=${line%"${line##*[![:space:]]}"}
  [ -n "$line" ] && sets+=(--set "$line")
done < "$repo/tools/startup_scene.txt"

# Paused, so that the one frame moves nothing before the values are saved.
if ! (cd "$run" && "$program" --frames 1 --size 64x48 --set paused=2 "${sets[@]}" \
        --save-settings settings.qrl > "$run/log" 2>&1); then
  cat "$run/log" >&2
  exit 1
fi
cp "$run/settings.qrl" "$run/Text.TXT" "$out/"
echo "wrote $out/settings.qrl and $out/Text.TXT"
