#!/usr/bin/env bash
# Sets up (packages, build) and runs Quorbel with the given options.
# Without a display, or until the window lands, it renders headless and says
# what it wrote.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh >&2
exec build/quorbel "$@"
