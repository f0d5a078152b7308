#!/usr/bin/env bash
# tools/check-format on files of its own: a formatted file passes, a
# misformatted one (and one saved with CR LF) fails by name, and --fix mends it.
set -uo pipefail
check=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf 'int Good() { return 1; }\n' >"$dir/Good.cpp"
printf 'int  Bad( ) {return 1;}\n' >"$dir/Bad.h"
printf 'int Dos() { return 1; }\r\n' >"$dir/Dos.cpp"

out=$("$check" "$dir/Good.cpp" 2>/dev/null) || fail "a formatted file fails: $out"
out=$("$check" "$dir/Good.cpp" "$dir/Bad.h" "$dir/Dos.cpp" 2>/dev/null) && fail "misformatted files pass: $out"
[[ $out == *"2 of 3"*"$dir/Bad.h $dir/Dos.cpp"* && $out != *Good* ]] ||
    fail "the line does not name just the two misformatted files: $out"
"$check" --fix "$dir/Bad.h" "$dir/Dos.cpp" >/dev/null || fail "--fix failed"
out=$("$check" "$dir/Bad.h" "$dir/Dos.cpp" 2>&1) || fail "--fix left a file unformatted: $out"
echo "check-format passes a formatted file, names misformatted ones, and --fix mends them"
