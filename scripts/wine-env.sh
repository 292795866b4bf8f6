# Sourced: the environment every Wine command of the project runs in.
# $1: the build folder, which holds the project's own Wine prefix.
build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
# 64-bit Wine, called directly: Debian's wine script prefers the 32-bit loader whenever it
# is installed, even on machines that cannot execute 32-bit code.
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
wine() { "$WINELOADER" "$@"; }
wineserver() { "$WINESERVER" "$@"; }
export WINEDEBUG=-all
# No Mono or Gecko: there is no network, and the tool needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
