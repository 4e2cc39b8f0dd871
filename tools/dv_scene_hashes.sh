#!/usr/bin/env bash
# Renders each scene of a scene list with the given quorbel binary and
# prints "name sha256" of its pixels (decoded by ffmpeg, so the hash does not
# depend on how the picture or video file was packed).
#   tools/dv_scene_hashes.sh BINARY PICTURES_DIR SCENES_FILE
# PICTURES_DIR holds the Data/ and gfx/ folders the binary loads; the scenes
# run in an empty folder beside links to them, so no settings file there
# changes what they show. A binary that cannot record yet gives a recording
# scene's frames one snapshot at a time: the frames a recording must hold.
set -euo pipefail
binary=$(realpath "$1")
pictures=$(realpath "$2")
scenes=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$pictures/Data" "$work/Data"
ln -s "$pictures/gfx" "$work/gfx"
cd "$work"
can_record=no
"$binary" --codec list >/dev/null 2>&1 && can_record=yes

pixels() { ffmpeg -nostdin -v error -i "$1" -f rawvideo -pix_fmt rgb24 -; }

declare -A standard_size=([ntsc]=720x480 [pal]=720x576)

# shellcheck disable=SC2086  # the options are words on purpose
while IFS='|' read -r name kind size frames options; do
  case "$name" in '' | \#*) continue ;; esac
  if [ "$kind" = snapshot ]; then
    "$binary" --snapshot out.png --size "$size" --frames "$frames" --seed 7 $options 2>/dev/null
    hash=$(pixels out.png | sha256sum)
  elif [ "$can_record" = yes ]; then
    "$binary" --record out.avi --standard "$size" --codec rawvideo --frames "$frames" --seed 7 $options 2>/dev/null
    hash=$(pixels out.avi | sha256sum)
  else
    hash=$(for ((frame = 1; frame <= frames; frame++)); do
      "$binary" --snapshot out.png --size "${standard_size[$size]}" --frames "$frame" --seed 7 $options 2>/dev/null
      pixels out.png
    done | sha256sum)
  fi
  echo "$name ${hash%% *}"
  rm -f out.png out.avi
done <"$scenes"
