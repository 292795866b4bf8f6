#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix.
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" "$1"
source "$here/wine-env.sh" "$1"
shift
exec "$WINELOADER" "$@"
