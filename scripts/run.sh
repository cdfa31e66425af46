#!/usr/bin/env bash
# Sets up this machine, builds the program and starts it under Wine.
# Usage: scripts/run.sh [build-dir]
#
# With a display ($DISPLAY) the program runs there from build/kirapick/ for a person to use,
# first run included, until it is ended from its menu. Without one it cannot be used, so it
# is shown working instead: it runs on a virtual display from build/run/, with settings made
# from the defaults file, is summoned once and photographed into build/screenshots/run.png;
# then it stays resident until Ctrl+C (or ends at once when no terminal is attached).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/setup.sh" "$build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target kirapick

if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting the program on $DISPLAY. It stays resident with no window: press its"
    echo "     hot key (Ctrl+F1 unless changed) for the search window; end it with the '>'"
    echo "     beside 設定 in that window, 常駐を終了する."
    exec "$root/scripts/wine-run.sh" --prefix "$build/wineprefix" "$build/kirapick/kirapick.exe"
fi

export WINEPREFIX=$build/wineprefix LANG=${KIRAPICK_LANG:-C.UTF-8}
export LC_ALL=$LANG
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
. "$root/scripts/display.sh"
kp_display_start
program=
finish() {
    if [ -n "$program" ]; then
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
    fi
    kp_display_stop
}
trap finish EXIT
trap 'exit 130' INT TERM

# Nobody can answer the first-run sheet here: the user's section is what confirming it
# unchanged would write, the options and engines of the defaults file.
folder=$build/run
rm -rf "$folder"
mkdir -p "$folder" "$build/screenshots"
cp "$build"/kirapick/{kirapick.exe,kirapick.def,readme.txt} "$folder"/
LC_ALL=C sed -e '/^;/d' -e "s/^\[Default\]/[$(id -un)]/" "$folder/kirapick.def" >"$folder/kirapick.ini"

wine "$folder/kirapick.exe" &
program=$!
window() { xwininfo -root -tree | awk '/"キラピック！": / { print $1; exit }'; }
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
id=
for _ in $(seq 1 300); do
    id=$(window)
    [ -n "$id" ] && break
    kill -0 "$program" 2>/dev/null || { echo "run: the program ended at start-up" >&2; exit 1; }
    sleep 0.1
done
[ -n "$id" ] || { echo "run: the program showed no search window" >&2; exit 1; }
# a second start summons the running program, as its hot key does
wine "$folder/kirapick.exe"
for _ in $(seq 1 100); do viewable "$id" && break; sleep 0.1; done
sleep 0.5 # let it paint
shot=$build/screenshots/run.png
import -window "$id" "$shot"

cat <<TEXT
run: no display here. The program runs under Wine on a virtual X display ($DISPLAY),
     from $folder/,
     with the settings of kirapick.def, as if the first-run settings had been confirmed.
     It is resident with no window of its own; summoned once (as its hot key or a second
     start does), its search window was photographed:
       $shot
     Every window as the end-to-end tests photograph them: $root/docs/screenshots/
     (scripts/screenshots.sh takes them again; the tests leave them in $build/screenshots/).
TEXT
if [ -t 0 ]; then
    echo "run: the program keeps running; press Ctrl+C to end it and the virtual display."
    wait "$program" || true
else
    echo "run: no terminal attached: ending the program and the virtual display."
fi
