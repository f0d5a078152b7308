#!/usr/bin/env bash
# Compares the program's dialog templates and string table, decompiled by the
# resource compiler, with the design's tables in the expected file.
set -euo pipefail
windres=$1 exe=$2 expected=$3
"$windres" -i "$exe" -O rc |
    grep -E '^(LANGUAGE|[0-9]+ DIALOG|STYLE|EXSTYLE|CAPTION|CLASS|MENU|FONT|  CONTROL|  [0-9]+, ")' |
    diff -u "$expected" - && echo "templates and strings match the design"
