#!/usr/bin/env bash
# Runs a Windows test program under Wine on a virtual display of its own, whose
# screen, and so the work area, is SIZE (WIDTHxHEIGHT):
#   on_screen.sh SIZE PROGRAM [ARGUMENTS...]
# Wine's server belongs to the display it started on: the suite's is ended
# first, and this display's before the display goes.
set -u
size=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env" || exit
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
# From a display number apart from the suite's and the other architecture's.
first_display=120
[ "${KRV_ARCH:-x86}" = x64 ] && first_display=160
xvfb-run -a -n "$first_display" -s "-screen 0 ${size}x24 -nolisten tcp" bash -c '
    "$0/tools/wine-exec" "$@"
    status=$?
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    exit $status
' "$root" "$@"
