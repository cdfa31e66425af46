#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix.
# Usage: wine-run.sh [--prefix DIR] program.exe [arguments...]
# CTest uses it as the cross-compiling emulator; the run command uses it too.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

prefix=${KIRAPICK_WINEPREFIX:-$here/../build/wineprefix}
if [ "${1:-}" = --prefix ]; then prefix=$2; shift 2; fi
[ $# -ge 1 ] || { echo "usage: $0 [--prefix DIR] program.exe [args]" >&2; exit 2; }

prog=$1; shift
case "$prog" in /*) ;; *) prog=$PWD/$prog ;; esac
case "$prefix" in /*) ;; *) prefix=$PWD/$prefix ;; esac

export WINEPREFIX=$prefix
# The programs ask for code page 932 in their manifests, so any locale will do: the plainest
# one by default, which shows that none is needed. The locale sets the language of Wine's own
# texts (the sheet's OK and Cancel); Wine takes it from the name, generated or not.
export LANG=${KIRAPICK_LANG:-C.UTF-8}
export LC_ALL=$LANG
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

. "$here/display.sh"
kp_display_start || exit 1
trap kp_display_stop EXIT

wine "$prog" "$@"
