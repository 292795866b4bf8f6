#!/usr/bin/env bash
# Installs what is missing, then builds:
#   build/i686/Tessaril.exe   the 32-bit program that players copy into the game folder;
#   build/x86_64/             the same sources for 64-bit Windows, with the tests and the
#                             benchmarks, which run under 64-bit Wine (see README: Testing).
# Another build folder, for a side-by-side run: TESSARIL_BUILD=folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TESSARIL_BUILD:-build}
bash scripts/setup.sh
mkdir -p "$build"
root="$PWD/$build"

configure() { # architecture, extra CMake arguments
    local dir="$build/$1"
    [[ -f "$dir/CMakeCache.txt" ]] && return
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$1.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTESSARIL_WINE_ROOT="$root" "${@:2}" >/dev/null
}
configure i686 -DTESSARIL_TESTS=OFF
configure x86_64 -DTESSARIL_TESTS=ON -DTESSARIL_BENCH=ON \
    -DTESSARIL_SHIPPED_EXE="$root/i686/Tessaril.exe"
cmake --build "$build/i686" -j"$(nproc)"
cmake --build "$build/x86_64" -j"$(nproc)"
