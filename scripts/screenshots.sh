#!/usr/bin/env bash
# Takes every picture of the README again from the real program: runs the end-to-end scenario
# that opens each window and saves it as the screen shows it ("the windows of the README" in
# tests/e2e/scenarios.txt), turns the pictures into PNGs, copies them to docs/screenshots/ and
# fails when a window has no picture.
# Usage: scripts/screenshots.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
shots=$build/screenshots

# the pictures show what a Japanese Windows shows, Wine's own texts (OK, キャンセル) included
export KIRAPICK_LANG=${KIRAPICK_LANG:-ja_JP.UTF-8}
# pictures of an earlier run must not pass for new ones
rm -f "$shots"/*.bmp "$shots"/*.png
status=0
CTEST_ARGS='-R ^e2e\.the_windows_of_the_README$' "$root/scripts/test.sh" "$build" || status=$?
# the pictures into PNGs, whether or not CTest ran its own conversion
cmake -DCONVERT="$(command -v convert)" -DFOLDER="$shots" -P "$root/tests/e2e/png.cmake" \
    >/dev/null || status=1
cmake -DFROM="$shots" -DFOLDER="$root/docs/screenshots" -P "$root/cmake/screenshots.cmake" \
    || status=1
[ "$status" = 0 ] || echo "screenshots: a test failed or a picture is missing (see above)" >&2
exit "$status"
