#!/usr/bin/env bash
# Builds everything, then runs every test under Wine on a virtual X display.
# Another build folder, for a side-by-side run: TESSARIL_BUILD=folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TESSARIL_BUILD:-build}
bash scripts/build.sh
bash scripts/wine-prefix.sh "$build"
xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir "$build/x86_64" --output-on-failure "$@"
