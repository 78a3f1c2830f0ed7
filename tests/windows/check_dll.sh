#!/usr/bin/env bash
# Checks the plug-in DLL as a host machine meets it: it exports exactly `main` and
# `VSTPluginMain` (or the names given), imports system DLLs only (no mingw runtime DLLs
# exist there), and carries the editor's seven bitmaps (or those given) in English with
# their sizes and colour depths.
# Usage: check_dll.sh OBJDUMP WINDRES DLL [BITMAPS [EXPORTS]]
set -euo pipefail
objdump=$1
windres=$2
dll=$3
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

dump=$("$objdump" -p "$dll")

exports=$(printf '%s\n' "$dump" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort | tr '\n' ' ')
[ "$exports" = "${5:-VSTPluginMain main} " ] || fail "exports are '$exports'"
addresses=$(printf '%s\n' "$dump" | sed -n 's/.*+base\[ *[0-9]*\] *\([0-9a-f]*\) Export RVA/\1/p' | sort -u)
[ "$(echo $addresses)" != "" ] && [ "$(echo "$addresses" | wc -l)" = 1 ] ||
    fail "the entry points lie at different addresses: $(echo $addresses)"

imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
for name in $imports; do
    case "${name,,}" in
    kernel32.dll | user32.dll | gdi32.dll | ole32.dll | oleaut32.dll | msvcrt.dll | \
        advapi32.dll | shell32.dll | comctl32.dll | comdlg32.dll | uxtheme.dll | \
        msimg32.dll | winmm.dll | api-ms-win-*.dll) ;;
    *) fail "imports $name, which is not a system DLL" ;;
    esac
done

# Each bitmap resource as "id language width height bits-per-pixel", read from the
# first words of its info header in the decompiled resource script.
bitmaps=$({ "$windres" -J coff -O rc -i "$dll" || true; } | awk '
    /Name: [0-9]+\./ { match($0, /[0-9]+/); id = substr($0, RSTART, RLENGTH) }
    /^LANGUAGE/ { language = $2 $3 }
    /^[0-9]+ 2 / { bitmap = id }
    /^BEGIN/ && bitmap != "" { getline; gsub(/[L,]/, " "); print bitmap, language, $2, $3, $4; bitmap = "" }
    ' | while read -r id language width height planesAndBits; do
    echo "$id $language $((width)) $((height)) $((planesAndBits >> 16))"
done)
# Pevo's, unless the caller gives the list ("id language width height bits", one a line).
expected=${4:-"128 9,1 900 202 8
129 9,1 16 70 4
130 9,1 14 12 4
131 9,1 604 27 8
132 9,1 604 27 8
133 9,1 31 135 8
134 9,1 27 56 8"}
[ "$bitmaps" = "$expected" ] || fail "bitmap resources are
$bitmaps"

echo "exports: $exports"
echo "imports: $(echo $imports)"
exit $status
