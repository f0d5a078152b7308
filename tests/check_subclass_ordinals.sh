#!/usr/bin/env bash
# Fails unless the program imports COMCTL32's subclass functions by ordinal
# (410 SetWindowSubclass, 412 RemoveWindowSubclass, 413 DefSubclassProc):
# Windows XP's COMCTL32 exports them without names.
set -euo pipefail
exe=$1
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n '/DLL Name: comctl32.dll/,/^$/p')
for ordinal in 410 412 413; do
    if ! grep -Eq "^\s+[0-9a-f]+\s+$ordinal\s+<none>" <<<"$imports"; then
        echo "$exe: comctl32 ordinal $ordinal not imported by ordinal"
        exit 1
    fi
done
if grep -q Subclass <<<"$imports"; then
    echo "$exe: a subclass function is imported by name"
    exit 1
fi
echo "comctl32 410, 412 and 413 imported by ordinal"
