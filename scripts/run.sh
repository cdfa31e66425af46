#!/usr/bin/env bash
# Sets up this machine, builds the program and starts it under Wine.
# Usage: scripts/run.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/setup.sh" "$build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target kirapick

[ -n "${DISPLAY:-}" ] || echo "run: no \$DISPLAY here, so the program runs on a virtual display"
exec "$root/scripts/wine-run.sh" --prefix "$build/wineprefix" "$build/kirapick/kirapick.exe"
