#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix with code page 932.
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
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

. "$here/display.sh"
kp_display_start || exit 1
trap kp_display_stop EXIT

wine "$prog" "$@"
