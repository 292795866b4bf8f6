#!/usr/bin/env bash
# Builds Tessaril, then starts it under Wine in a demo game folder (build/demo-game).
# On a machine with a display it opens there; without one it runs on a virtual display,
# saves a screenshot of the window to build/tessaril-window.png and closes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
# Another build folder (for a second checkout or a side-by-side run): TESSARIL_BUILD=folder.
build=${TESSARIL_BUILD:-build}
bash scripts/build.sh
bash scripts/wine-prefix.sh "$build"
source scripts/wine-env.sh "$build"

game=$build/demo-game
rm -rf "$game"
bash scripts/make-demo-game.sh "$game"
# Players get the 32-bit program; a machine that cannot execute 32-bit code runs the same
# sources built for 64-bit Windows.
if [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    cp $build/i686/Tessaril.exe "$game/"
    loader=/usr/lib/wine/wine
else
    cp $build/x86_64/Tessaril.exe "$game/"
    loader=$WINELOADER
    echo "demo: this machine cannot run 32-bit programs; starting the 64-bit build."
fi
echo "demo: game folder $PWD/$game"

if [[ -n "${DISPLAY:-}" ]]; then
    cd "$game" && exec "$loader" Tessaril.exe
fi

shot="$PWD/$build/tessaril-window.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    cd "$1"
    "$2" Tessaril.exe &
    for _ in $(seq 1 100); do  # wait for the window to be drawn
        sleep 0.3
        import -window root -crop 361x238+331+265 +repage "$3" 2>/dev/null || continue
        [[ $(convert "$3" -format "%[k]" info:) -gt 8 ]] && break
    done
    sleep 1
    import -window root -crop 361x238+331+265 +repage "$3"
    "$WINESERVER" -k
' demo "$game" "$loader" "$shot"
echo "demo: no display here; a screenshot of the window is at $shot"
