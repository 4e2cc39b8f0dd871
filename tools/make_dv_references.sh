#!/usr/bin/env bash
# Writes tests/data/dv_references.txt: the pixels of the DV scenes as a given
# commit renders them, with the fingerprint of the machine that rendered
# them. Run it with the last commit before a change to rendering at other
# sizes; tests/test_dv_identity.cpp then checks that the current code renders
# the DV sizes exactly as that commit did.
#   tools/make_dv_references.sh COMMIT
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse "${1:?usage: tools/make_dv_references.sh COMMIT}")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
git archive "$commit" | tar -x -C "$tree"
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DQUORBEL_TESTS=OFF -DQUORBEL_BENCH=OFF >/dev/null
cmake --build "$tree/build" -j2 --target quorbel >/dev/null
{
  echo "# DV scenes as commit $commit rendered them (tools/make_dv_references.sh)"
  echo "fingerprint $(tools/render_fingerprint.sh)"
  tools/dv_scene_hashes.sh "$tree/build/quorbel" "$tree" tests/data/dv_scenes.txt
} >tests/data/dv_references.txt.part
mv tests/data/dv_references.txt.part tests/data/dv_references.txt
echo "wrote tests/data/dv_references.txt from $commit"
