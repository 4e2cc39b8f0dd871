#!/usr/bin/env bash
# Sets up (packages, build) and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cd build
ctest --output-on-failure -j"$(nproc 2>/dev/null || echo 2)" "$@"
