#!/usr/bin/env bash
# Runs a command on a virtual screen of its own size, under a fresh Wine server so that the
# programs see that screen: Wine keeps the screen it first saw for as long as its server runs.
# Usage: on-screen.sh WINE_ROOT WIDTHxHEIGHT COMMAND...
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"
size=$2
shift 2
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
xvfb-run -a -s "-screen 0 ${size}x24" "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $status
