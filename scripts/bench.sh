#!/usr/bin/env bash
# Builds Tessaril and its benchmarks, then runs them under Wine on a virtual X display and
# prints one line per figure (see bench/tessaril_bench.cpp). Extra arguments go to the
# benchmark program. Another build folder, for a side-by-side run: TESSARIL_BUILD=folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TESSARIL_BUILD:-build}
# Building reports on stderr: stdout holds only the figures.
bash scripts/build.sh >&2

# The baseline program for 32-bit Windows too, to set beside the shipped program's size;
# in a tree of its own, so that the shipped program's build stays as it is.
minimal32="$build/i686-bench"
if [[ ! -f "$minimal32/CMakeCache.txt" ]]; then
    cmake -S . -B "$minimal32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DTESSARIL_TESTS=OFF -DTESSARIL_BENCH=ON >&2
fi
cmake --build "$minimal32" --target minimal_window -j"$(nproc)" >&2

bash scripts/wine-prefix.sh "$build"
source scripts/wine-env.sh "$build"
minimal32_windows="Z:$(cd "$minimal32/bench" && pwd)/minimal_window.exe"
xvfb-run -a -s "-screen 0 1024x768x24" \
    "$WINELOADER" "$build/x86_64/bench/tessaril_bench.exe" \
    "--i686-minimal=${minimal32_windows//\//\\}" "$@"
