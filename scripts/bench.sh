#!/usr/bin/env bash
# Sets up this machine, builds the benchmark (Release, in its own build folder), makes the
# folders of 1,000, 10,000 and 100,000 files once inside the Wine prefix, and runs the
# benchmark under Wine. Prints one table (Markdown); progress goes to stderr.
# Usage: scripts/bench.sh [build-dir] [--runs N] [--literal-runs N] [tour|resident|image]...
set -euo pipefail
case " $* " in
*" -h "* | *" --help "*)
    cat <<'TEXT'
Usage: scripts/bench.sh [build-dir] [--runs N] [--literal-runs N] [tour|resident|image]...

Builds the benchmark in build-dir (default build-bench/), makes its folders of 1,000, 10,000
and 100,000 files once inside that folder's Wine prefix, runs it under Wine and prints one
Markdown table; progress goes to stderr. The first run sets up the machine as
scripts/setup.sh does.

  --runs N           samples of each figure, of which the median counts (default 5)
  --literal-runs N   samples of the rank-by-rank selection of 10,000 names (default 1;
                     tens of seconds each)
  tour               tour start against a bare listing of the folder
  resident           start-up, summons and memory against a minimal dialog program
  image              the program's size and what it imports
Without a part, all three. What each row means: docs/performance.md.
TEXT
    exit 0 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-bench
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ] && [ "$1" != tour ] && [ "$1" != resident ] && [ "$1" != image ]; then
    dir=$1; shift
fi
build=$(mkdir -p "$dir" && cd "$dir" && pwd)

"$root/scripts/setup.sh" "$build" >&2
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target kpbench >&2

prefix=$build/wineprefix
echo "bench: making the folders of files (once)" >&2
perl "$root/bench/makefiles.pl" "$prefix/drive_c/kpbench" 1000 10000 100000

echo "Benchmark: $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/^Mem:/ {print $2}') GB; $(wine --version 2>/dev/null); load $(cut -d' ' -f1-3 /proc/loadavg)"
"$root/scripts/wine-run.sh" --prefix "$prefix" "$build/bench/bin/kpbench.exe" 'C:\kpbench' "$@"
