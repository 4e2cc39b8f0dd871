#!/usr/bin/env bash
# Sets up (packages, build) and runs Quorbel with the given options.
# Without options it opens the window when a display is available and
# renders headless when none is; it says which on stderr. With options it is
# the headless renderer (see --help).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh >&2
exec build/quorbel "$@"
