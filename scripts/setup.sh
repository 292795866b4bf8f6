#!/usr/bin/env bash
# Installs what building and testing Tessaril needs on Debian 12, as root.
# Quick when everything is already there: it only asks dpkg.
set -euo pipefail

# The 32-bit compiler builds the program players get; the 64-bit compiler and 64-bit Wine
# build and run the tests (see README: Testing).
# Wine's recommended X11 libraries come along (pointer images, screen sizes, fonts); python3
# reads the X server's pointer image for the tests.
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 fonts-wine
          libxfixes3 libxcursor1 libxrandr2 xvfb xauth fonts-wqy-microhei googletest imagemagick
          python3)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -qx "install ok installed" ||
        missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
