#!/usr/bin/env bash
# Makes the project's Wine prefix under the build folder, once.
# It draws window frames itself (there is no window manager under Xvfb), maps the usual
# Chinese faces to an installed CJK font, and registers a stand-in browser that records
# every address the shell hands it, so that tests read what a player's browser would get.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"

# Wine draws the caption bar's Close button with Marlett, which Debian's 64-bit Wine does
# not find by itself.
add_caption_font() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [[ -f "$fonts/marlett.ttf" || ! -f /usr/share/wine/fonts/marlett.ttf ]] && return 0
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

stamp="$WINEPREFIX/.tessaril-prefix-3"
if [[ -f "$stamp" ]]; then
    add_caption_font
    exit 0
fi

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w

browser="$build_dir/stand-in-browser"
cat >"$browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$build_dir/browser.log"
SCRIPT
chmod +x "$browser"

reg="$WINEPREFIX/tessaril.reg"
font='WenQuanYi Micro Hei'
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in SimSun NSimSun 'Microsoft YaHei' 'MS Song' SimHei; do
        printf '"%s"="%s"\r\n' "$face" "$font"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\r\n"Browsers"="%s"\r\n\r\n' "$browser"
} >"$reg"
wine regedit "$reg" >/dev/null 2>&1
wineserver -w
add_caption_font
touch "$stamp"
