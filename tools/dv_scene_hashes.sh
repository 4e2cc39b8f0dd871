#!/usr/bin/env bash
# Renders each scene of a scene list with the given quorbel binary and
# prints "name sha256" of its pixels (decoded by ffmpeg, so the hash does not
# depend on how the picture or video file was packed).
#   tools/dv_scene_hashes.sh BINARY PICTURES_DIR SCENES_FILE
# PICTURES_DIR holds the Data/ and gfx/ folders the binary loads; the scenes
# run in an empty folder beside links to them, so no settings file there
# changes what they show.
set -euo pipefail
binary=$(realpath "$1")
pictures=$(realpath "$2")
scenes=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$pictures/Data" "$work/Data"
ln -s "$pictures/gfx" "$work/gfx"
cd "$work"
while IFS='|' read -r name kind size frames options; do
  case "$name" in '' | \#*) continue ;; esac
  # shellcheck disable=SC2086  # the options are words on purpose
  if [ "$kind" = snapshot ]; then
    "$binary" --snapshot out.png --size "$size" --frames "$frames" --seed 7 $options 2>/dev/null
    input=out.png
  else
    "$binary" --record out.avi --standard "$size" --codec rawvideo --frames "$frames" --seed 7 $options 2>/dev/null
    input=out.avi
  fi
  hash=$(ffmpeg -nostdin -v error -i "$input" -f rawvideo -pix_fmt rgb24 - | sha256sum | cut -d' ' -f1)
  echo "$name $hash"
  rm -f out.png out.avi
done <"$scenes"
