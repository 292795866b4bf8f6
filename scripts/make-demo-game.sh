#!/usr/bin/env bash
# Makes a demo game folder: an SWD6.exe marker and the three movie files as the game ships
# them (the game's bytes at their offsets, filler around them).
# Usage: make-demo-game.sh FOLDER
set -euo pipefail
folder=$1
mkdir -p "$folder/assetbundles/Movie"
printf 'MZ' >"$folder/SWD6.exe"
movie() { # file, offset, bytes as printf escapes
    local path="$folder/assetbundles/Movie/$1"
    head -c 8192 /dev/zero | tr '\0' '\125' >"$path"
    printf "$3" | dd of="$path" bs=1 seek="$2" conv=notrunc status=none
}
movie LOGO.unity3d 4388 '\x6a\x2a\x7c\x00'
movie Opening_S.unity3d 4412 '\xf1\x7b\xd3\x01'
movie TOTEM_LOGO.unity3d 4326 '\x07'
