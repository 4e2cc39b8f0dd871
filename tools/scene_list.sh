# Shared by tools/make_startup_scene.sh and tools/make_examples.sh (sourced):
# turns a readable list of NAME=VALUE lines (# starts a comment) into a
# settings file with the program's own writer.

# make_scene_run_folder: an empty folder that only links Data/ and gfx/, so
# no earlier settings file takes part. Sets $run and removes it on exit.
make_scene_run_folder() {
  run=$(mktemp -d)
  trap 'rm -rf "$run"' EXIT
  ln -s "$repo/Data" "$run/Data"
  ln -s "$repo/gfx" "$run/gfx"
}

# save_scene_list PROGRAM LIST NAME: writes $run/NAME (and $run/Text.TXT).
save_scene_list() {
  local program=$1 list=$2 name=$3 line
  local sets=()
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%%#*}
    line=${line#"${line%%[![:space:]]*}"}
    line=${line%"${line##*[![:space:]]}"}
    [ -n "$line" ] && sets+=(--set "$line")
  done < "$list"
  # Paused, so that the one frame moves nothing before the values are saved.
  if ! (cd "$run" && "$program" --frames 1 --size 64x48 --set paused=2 "${sets[@]}" \
          --save-settings "$name" > "$run/log" 2>&1); then
    cat "$run/log" >&2
    return 1
  fi
}
