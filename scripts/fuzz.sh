#!/usr/bin/env bash
# Builds the fuzz target of the text routines natively (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for a set number of inputs, starting from its
# committed seeds in tests/fuzz/corpus/<target>/. Prints a table; fails on any finding.
# The target's first input byte picks one of ten routines: the default gives each about
# 1,000,000 inputs.
# Usage: scripts/fuzz.sh [inputs-per-target [build-dir]]   (default 10000000, build-fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000000}
[[ $runs =~ ^[0-9]+$ ]] || { echo "usage: $0 [inputs-per-target [build-dir]]" >&2; exit 2; }
build=$(mkdir -p "${2:-$root/build-fuzz}" && cd "${2:-$root/build-fuzz}" && pwd)

# the same packages are in scripts/setup.sh, which the test command runs first
packages=(cmake make clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "Not root. Please run as root first:"
        echo "  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
        exit 1
    fi
    echo "fuzz: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc)" >"$build/build.log" 2>&1 || { cat "$build/build.log"; exit 1; }

IFS=';' read -r -a targets <"$build/targets.txt" || true # one line, no newline
rm -rf "$build/work" "$build/logs" "$build/findings"
mkdir -p "$build/logs" "$build/findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

run_target() {
    local t=$1 start end rc=0
    mkdir -p "$build/work/$t" # new inputs go here, the committed seeds stay as they are
    start=$(date +%s%N)
    "$build/fuzz_$t" -runs="$runs" -max_len=2048 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
        "$build/work/$t" "$root/tests/fuzz/corpus/$t" >"$build/logs/$t.log" 2>&1 || rc=$?
    end=$(date +%s%N)
    echo "$rc $(( (end - start) / 1000000 ))" >"$build/logs/$t.result"
}

# one target per core
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
    run_target "$t" &
done
wait

failed=0
printf '%-16s %10s %8s  %s\n' target inputs seconds result
for t in "${targets[@]}"; do
    read -r rc millis <"$build/logs/$t.result"
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)
    result=ok
    if [ "$rc" != 0 ]; then
        result="FINDING (exit $rc; $build/logs/$t.log)"
        failed=1
    fi
    printf '%-16s %10s %6d.%d  %s\n' "$t" "${inputs:-?}" $((millis / 1000)) $((millis % 1000 / 100)) "$result"
done
if [ "$failed" != 0 ]; then
    for t in "${targets[@]}"; do
        read -r rc _ <"$build/logs/$t.result"
        [ "$rc" = 0 ] && continue
        echo "---- $t"
        grep -m1 -A25 -E 'check failed|ERROR: |runtime error|deadly signal' "$build/logs/$t.log" || tail -30 "$build/logs/$t.log"
        ls "$build/findings/$t-"* 2>/dev/null | sed 's/^/input: /'
    done
    exit 1
fi
