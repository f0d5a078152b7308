#!/usr/bin/env bash
# Runs each test program named where it must not touch anything: in a Wine
# prefix without the marker of tools/wine-env, and with WINEPREFIX unset (Wine's
# default prefix $HOME/.wine, here one with the marker). Each must fail with one
# line saying why and leave the settings planted in that prefix as they were.
# The prefix is the project's with the big, read-only folders linked, not copied.
set -u
source "$(dirname "$0")/../tools/wine-env" || exit
home=$(mktemp -d)
fake=$home/.wine
trap 'WINEPREFIX=$fake wineserver -k 2>/dev/null; WINEPREFIX=$fake wineserver -w; rm -rf "$home"' EXIT
mkdir -p "$fake/dosdevices" "$fake/drive_c"
cp -a "$WINEPREFIX"/*.reg "$WINEPREFIX/.update-timestamp" "$fake/"
cp -a "$WINEPREFIX/drive_c/users" "$fake/drive_c/"
ln -s "$WINEPREFIX/drive_c/windows" "$WINEPREFIX/drive_c/Program Files" "$fake/drive_c/"
ln -s ../drive_c "$fake/dosdevices/c:"
for folder in RIDERE DAZIRE VEVEVU Another; do
    mkdir -p "$fake/drive_c/ProgramData/$folder"
    printf '[SETTINGS]\r\nPlanted=%s\r\n' "$folder" >"$fake/drive_c/ProgramData/$folder/DRZINFO.INI"
done
snapshot() { (cd "$fake/drive_c" && find ProgramData -printf '%p %s %T@\n' | sort && cat ProgramData/*/*); }
planted=$(snapshot)

failed=0
# refuses <words the reason holds> <command...>
refuses() {
    local reason=$1 status
    shift
    "$@" </dev/null >"$home/out" 2>&1
    status=$?
    echo "$(basename "${@: -1}") exited with $status: $(cat "$home/out")"
    if [ "$status" -eq 0 ] || [ "$(wc -l <"$home/out")" -ne 1 ] || ! grep -q "Refused.*$reason" "$home/out"; then
        echo "    expected one line, 'Refused to run: ...$reason...', and a non-zero status"
        failed=1
    fi
    if [ "$(snapshot)" != "$planted" ]; then
        echo "    and it changed what was planted under ProgramData"
        failed=1
    fi
}

for program in "$@"; do
    refuses "krv-test-prefix is missing" env WINEPREFIX="$fake" "$WINE" "$program"
done
WINEPREFIX=$fake mark_prefix
refuses "WINEPREFIX is not set" env -u WINEPREFIX HOME="$home" "$WINE" "$1"
exit $failed
