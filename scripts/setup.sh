#!/usr/bin/env bash
# Installs what building and testing Tessaril needs on Debian 12, as root.
# Quick when everything is already there: it only asks dpkg.
set -euo pipefail

# The 32-bit compiler builds the program players get; the 64-bit compiler and 64-bit Wine
# build and run the tests (see README: Testing).
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth
          fonts-wqy-microhei googletest imagemagick)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
