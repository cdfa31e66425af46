#!/usr/bin/env bash
# Prepares this Debian machine for building and testing: packages and a private Wine prefix
# inside the build folder. Safe to run again.
# Usage: scripts/setup.sh [build-dir]
set -euo pipefail

build=${1:-build}
# No Japanese locale: the programs ask for code page 932 in their manifests.
packages=(cmake make g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xauth
          fonts-ipafont-gothic fonts-wine doctest-dev imagemagick x11-utils)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "$(id -u)" != 0 ] && [ ${#missing[@]} -gt 0 ]; then
    echo "Not root. Please run as root first:"
    echo "  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

mkdir -p "$build"
prefix=$(cd "$build" && pwd)/wineprefix
if [ ! -f "$prefix/system.reg" ]; then
    echo "setup: creating the Wine prefix $prefix"
    # no network here: keep wineboot from fetching its .NET and HTML engines
    WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LANG=C.UTF-8 \
        wineboot -i >/dev/null 2>&1 || true
    # Japanese fonts Wine lacks get IPA stand-ins: the dialogs' own font, and the one Tahoma
    # (title bars, message boxes) borrows Japanese characters from, as on Windows
    for font in 'ＭＳ Ｐゴシック=IPAPGothic' 'MS UI Gothic=IPAGothic'; do
        WINEPREFIX=$prefix WINEDEBUG=-all LANG=C.UTF-8 wine reg add \
            'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" /d "${font#*=}" /f \
            >/dev/null 2>&1 || true
    done
    WINEPREFIX=$prefix wineserver -w || true
fi
# Wine's own fonts (Marlett draws the title bars' close boxes): this Wine does not look for
# them where fonts-wine puts them, but finds them in the prefix's Fonts folder
fonts=$prefix/drive_c/windows/Fonts
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
    echo "setup: adding Wine's fonts to the prefix"
    cp /usr/share/wine/fonts/* "$fonts"/
fi
echo "setup: ready"
