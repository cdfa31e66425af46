#!/usr/bin/env bash
# Breaks the product on purpose, one fault at a time, in a scratch copy of the project, and
# checks that the tests named for each fault catch it (tests/faults.list says what each fault
# is). A fault whose text is not found exactly once is reported as such, never as caught.
# Usage: scripts/faults.sh [--check] [--all] [--list FILE] [fault-id...]
#   --check   only look for each fault's text; build and run nothing
#   --all     run the whole suite for each fault, and list what failed
# The scratch copy and its build live in build-faults/ (FAULTS_DIR to put them elsewhere).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/tests/faults.list
check=0 all=0 wanted=()
while [ $# -gt 0 ]; do
    case $1 in
    --check) check=1 ;;
    --all) all=1 ;;
    --list) list=$(realpath "$2"); shift ;;
    -*) echo "usage: $0 [--check] [--all] [--list FILE] [fault-id...]" >&2; exit 2 ;;
    *) wanted+=("$1") ;;
    esac
    shift
done

# --- the list --------------------------------------------------------------------------------
ids=()
declare -A file find replace tests
while IFS= read -r line || [ -n "$line" ]; do
    [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
    if [[ $line =~ ^fault[[:space:]]+([^[:space:]]+) ]]; then
        id=${BASH_REMATCH[1]}
        ids+=("$id")
        replace[$id]=""
    elif [[ $line =~ ^[[:space:]]+(file|find|replace|test|why)([[:space:]]+(.*))?$ ]]; then
        value=${BASH_REMATCH[3]}
        case ${BASH_REMATCH[1]} in
        file) file[$id]=$value ;;
        find) find[$id]=$value ;;
        replace) replace[$id]=$value ;;
        test) tests[$id]=$value ;;
        esac
    else
        echo "$list: cannot read: $line" >&2
        exit 2
    fi
done <"$list"
if [ ${#wanted[@]} -gt 0 ]; then
    for id in "${wanted[@]}"; do
        [ -n "${file[$id]:-}" ] || { echo "no fault $id in $list" >&2; exit 2; }
    done
    ids=("${wanted[@]}")
fi

# --- the scratch copy --------------------------------------------------------------------------
work=${FAULTS_DIR:-$root/build-faults}
tree=$work/tree build=$work/build
mkdir -p "$work/logs"
# the project as it stands, without git and build folders; unchanged files keep their times,
# so that a later run rebuilds only what changed
mkdir -p "$tree"
(cd "$root" && find . -path ./.git -prune -o -path './build*' -prune -o -type f -print | sort) \
    >"$work/files"
(cd "$tree" && find . -type f | sort | comm -13 "$work/files" - | xargs -r -d '\n' rm -f)
tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$tree" -xf -

occurrences() { F=$2 perl -0777 -ne 'print scalar(() = /\Q$ENV{F}\E/g)' "$1"; }

if [ "$check" = 1 ]; then
    bad=0
    for id in "${ids[@]}"; do
        n=$(occurrences "$tree/${file[$id]}" "${find[$id]}" 2>/dev/null || echo 0)
        [ "$n" = 1 ] || { echo "$id: text found $n times in ${file[$id]}"; bad=1; }
    done
    [ "$bad" = 0 ] && echo "every text found once (${#ids[@]} faults)"
    exit "$bad"
fi

"$root/scripts/setup.sh" "$build" >/dev/null
cmake -S "$tree" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null

export WINEPREFIX=$build/wineprefix
. "$root/scripts/display.sh"
kp_display_start
trap kp_display_stop EXIT

build_all() {
    cmake --build "$build" -j "$(nproc)" >"$1" 2>&1
}

# Runs what a fault names (or everything); prints the tests that failed, "" when none did.
failing() {
    local pattern=$1 log=$2 failed="" rc=0
    local args=(--test-dir "$build" --output-on-failure --repeat until-pass:2)
    [ "$pattern" = "*" ] || args+=(-R "$pattern")
    ctest "${args[@]}" >"$log" 2>&1 || rc=$?
    if grep -q 'No tests were found' "$log"; then
        echo "<no test named $pattern>"
        return
    fi
    [ "$rc" = 0 ] || failed=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$log" | tr '\n' ' ')
    [ "$rc" = 0 ] || [ -n "$failed" ] || failed="<ctest failed: $log>"
    echo "${failed% }"
}

echo "faults: building the scratch copy in $work"
build_all "$work/logs/build.log" || { echo "the scratch copy does not build: $work/logs/build.log"; exit 1; }

# the named tests must pass on the product as it is, or catching proves nothing
patterns=()
if [ "$all" = 1 ]; then patterns=("*"); else
    for id in "${ids[@]}"; do
        [[ " ${patterns[*]} " == *" ${tests[$id]} "* ]] || patterns+=("${tests[$id]}")
    done
fi
for pattern in "${patterns[@]}"; do
    failed=$(failing "$pattern" "$work/logs/baseline.log")
    if [ -n "$failed" ]; then
        echo "faults: without any fault already failing: $failed (see $work/logs/baseline.log)"
        exit 1
    fi
done
echo "faults: the named tests pass without faults; now ${#ids[@]} faults, one at a time"

results=$work/results.txt
: >"$results"
missed=0
n=0
for id in "${ids[@]}"; do
    n=$((n + 1))
    target=$tree/${file[$id]}
    log=$work/logs/$id.log
    start=$(date +%s)
    count=$(occurrences "$target" "${find[$id]}" 2>/dev/null || echo 0)
    if [ "$count" != 1 ]; then
        result="text found $count times in ${file[$id]}"
    else
        cp -p "$target" "$work/original"
        F=${find[$id]} R=${replace[$id]} perl -0777 -i -pe 's/\Q$ENV{F}\E/$ENV{R}/' "$target"
        if ! build_all "$log"; then
            result="does not build (see $log)"
        else
            pattern=${tests[$id]}
            [ "$all" = 1 ] && pattern="*"
            failed=$(failing "$pattern" "$log")
            if [ -z "$failed" ]; then result="NOT CAUGHT"
            elif [[ $failed == "<"* ]]; then result=$failed
            else result="caught by $failed"
            fi
        fi
        # a new time, so that the next build compiles the file again
        cp "$work/original" "$target"
        touch "$target"
    fi
    [[ $result == "caught by"* ]] || missed=$((missed + 1))
    line=$(printf '%-42s %s (%ds)' "$id" "$result" $(($(date +%s) - start)))
    echo "[$n/${#ids[@]}] $line"
    echo "$line" >>"$results"
done
build_all "$work/logs/build.log" || true
echo "faults: $((${#ids[@]} - missed)) of ${#ids[@]} caught; results in $results"
[ "$missed" = 0 ]
