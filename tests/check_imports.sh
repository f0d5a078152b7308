#!/usr/bin/env bash
# Fails when the program imports a function that the reviewed list of
# functions present on Windows XP does not hold (a runtime that pulls in
# GetTickCount64, say), or a DLL that XP lacks.
set -euo pipefail
exe=$1
allowed=$2

imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ / {
        name = $3
        if (name == "<none>") name = "#" $2
        print dll "!" name
        next
    }
    /^$/ { if (dll != "") dll = "" }' | sort -u)

[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }

missing=$(comm -23 <(printf '%s\n' "$imports") <(grep -v '^#' "$allowed" | grep -v '^$' | sort -u))
if [ -n "$missing" ]; then
    echo "Imports not on the reviewed Windows XP list ($allowed):"
    printf '  %s\n' $missing
    exit 1
fi
echo "$(printf '%s\n' "$imports" | wc -l) imports, all present on Windows XP"
