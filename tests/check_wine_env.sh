#!/usr/bin/env bash
# ensure_wine_prefix of tools/wine-env on folders planted where the prefix goes:
# it makes anew only an empty folder or one of its own (a making stopped
# half-way too), and refuses any other in one line, leaving it as it was.
# KRV_WINEPREFIX chooses the folder only in the emulated machine. Wine is a
# stand-in that boots nothing; its wineboot fails unless the marker is in first.
set -uo pipefail
tools=$(cd "$(dirname "$0")/../tools" && pwd)
tmp=$(mktemp -d) || exit
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

mkdir "$tmp/bin"
printf '#!/bin/sh\n[ "$1" != wineboot ] || [ -f "$WINEPREFIX/drive_c/krv-test-prefix" ]\n' >"$tmp/bin/wine"
printf '#!/bin/sh\n' >"$tmp/bin/wineserver"
chmod +x "$tmp/bin/wine" "$tmp/bin/wineserver"

# ensure ROOT [VAR=VALUE...]: ensure_wine_prefix with tools/wine-env sourced
# with that root and those settings; sets status, said (its stderr) and chosen.
ensure() {
    local dir=$1
    shift
    status=0
    said=$(env -u KRV_IN_VM -u KRV_WINEPREFIX KRV_ARCH=x86 root="$dir" PATH="$tmp/bin:$PATH" "$@" bash -c '
        source "$0/wine-env" && WINE=${PATH%%:*}/wine && echo "$WINEPREFIX" >"$1" &&
        ensure_wine_prefix' "$tools" "$tmp/chosen" 2>&1 >/dev/null) || status=$?
    chosen=$(cat "$tmp/chosen")
}
snapshot() { find "$1" -printf '%P %s\n' | sort; }
refused() {
    [ "$status" -ne 0 ] && [ "$(wc -l <<<"$said")" -eq 1 ] && [[ $said == Refused*"$1:"* ]] ||
        fail "$2: expected one line refusing $1 and a non-zero status; status $status, said: $said"
}

# case         planted in the folder                 expected
rows=(
  "foreign     system.reg                            refused"
  "hidden      .update-timestamp                     refused"
  "half-made   drive_c/krv-test-prefix,system.reg    made"
  "empty       -                                     made"
  "older       .krv-ready,system.reg,drive_c/win.ini kept"
)
for row in "${rows[@]}"; do
    read -r name planted expected <<<"$row"
    prefix=$tmp/$name/.wineprefix
    mkdir -p "$prefix"
    for file in ${planted//,/ }; do
        [ "$file" = - ] || { mkdir -p "$(dirname "$prefix/$file")" && echo planted >"$prefix/$file"; }
    done
    before=$(snapshot "$prefix")
    ensure "$tmp/$name"
    case $expected in
        refused) refused "$prefix" "$name"
                 [ "$(snapshot "$prefix")" = "$before" ] || fail "$name: the refused folder changed" ;;
        made) [ "$status" -eq 0 ] && [ -f "$prefix/.krv-ready" ] && [ ! -e "$prefix/system.reg" ] ||
                  fail "$name: not made anew (status $status): $said" ;;
        kept) [ "$status" -eq 0 ] && [ -f "$prefix/system.reg" ] && [ -f "$prefix/drive_c/krv-test-prefix" ] ||
                  fail "$name: not kept and marked (status $status): $said" ;;
    esac
done

mkdir -p "$tmp/user/.wine" "$tmp/checkout"
echo planted >"$tmp/user/.wine/system.reg"
ensure "$tmp/checkout" KRV_WINEPREFIX="$tmp/user/.wine"
[ "$chosen" = "$tmp/checkout/.wineprefix" ] && [ "$status" -eq 0 ] ||
    fail "KRV_WINEPREFIX outside the emulated machine chose $chosen (status $status)"
ensure "$tmp/checkout" KRV_IN_VM=1 KRV_WINEPREFIX="$tmp/user/.wine"
refused "$tmp/user/.wine" "KRV_WINEPREFIX in the emulated machine"
[ "$(cat "$tmp/user/.wine/system.reg")" = planted ] || fail "the folder KRV_WINEPREFIX names changed"
[ "$failed" -eq 0 ] && echo "ensure_wine_prefix refuses folders it did not make and remakes its own"
exit $failed
