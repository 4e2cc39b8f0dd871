#!/usr/bin/env bash
# Sets up (packages, build) and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
(cd build && ctest --output-on-failure -j"$(nproc 2>/dev/null || echo 2)" "$@")
# A full run (no CTest options) also sweeps hostile settings under the sanitizers.
if [ $# -eq 0 ]; then
  tools/hostile_settings_sweep.sh
fi
