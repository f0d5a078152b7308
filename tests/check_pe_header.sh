#!/usr/bin/env bash
# Fails when the program's PE header or manifest is not what its architecture
# needs: the machine, the GUI subsystem, for 32 bits versions Windows XP (5.1)
# accepts, and the manifest: its processorArchitecture in both places, the
# common controls 6, its description and nothing else.
set -euo pipefail
exe=$1
arch=$2   # i386 or x86-64
case $arch in
    i386)   objdump=i686-w64-mingw32-objdump; manifest=X86 ;;
    x86-64) objdump=x86_64-w64-mingw32-objdump; manifest=amd64 ;;
    *) echo "unknown architecture $arch"; exit 2 ;;
esac

header=$("$objdump" -p "$exe")
field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$header"; }
faults=()
grep -q "file format pei-$arch\$" <<<"$header" || faults+=("not a pei-$arch image")
[ "$(field Subsystem)" = 00000002 ] || faults+=("subsystem $(field Subsystem), not Windows GUI (2)")
if [ "$arch" = i386 ]; then
    for kind in OSystem Subsystem; do
        version=$(field "Major${kind}Version").$(field "Minor${kind}Version")
        awk -v v="$version" 'BEGIN { split(v, p, "."); exit !(p[1] < 5 || (p[1] == 5 && p[2] <= 1)) }' ||
            faults+=("Major/Minor${kind}Version $version: Windows XP loads 5.1 or lower")
    done
fi
architectures=$(grep -ao 'processorArchitecture="[^"]*"' "$exe" | sort | uniq -c | awk '{ print $1 "x" $2 }')
[ "$architectures" = "2xprocessorArchitecture=\"$manifest\"" ] ||
    faults+=("manifest architectures: ${architectures:-none}, not $manifest in both places")
element='<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" '
element+="processorArchitecture=\"$manifest\" publicKeyToken=\"6595b64144ccf1df\" language=\"\\*\"/>"
grep -aq "$element" "$exe" && grep -aq '<description>Configuration Software for KRV Engravers.</description>' "$exe" &&
    ! grep -aqE '<(trustInfo|compatibility|application)' "$exe" || faults+=("manifest: not the common controls 6 alone")

if [ ${#faults[@]} -gt 0 ]; then
    printf '%s: %s\n' "$exe" "${faults[@]}"
    exit 1
fi
echo "$exe: pei-$arch, Windows GUI, manifest $manifest"
