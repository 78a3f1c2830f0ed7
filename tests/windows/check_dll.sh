#!/usr/bin/env bash
# Checks that a plug-in DLL exports exactly `main` and `VSTPluginMain` and imports
# system DLLs only: a host machine has no mingw runtime DLLs.
# Usage: check_dll_linkage.sh OBJDUMP DLL
set -euo pipefail
objdump=$1
dll=$2

dump=$("$objdump" -p "$dll")

exports=$(printf '%s\n' "$dump" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
    echo "FAIL: exports are '$exports', expected 'VSTPluginMain main'"
    exit 1
fi

imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
status=0
for name in $imports; do
    case "${name,,}" in
    kernel32.dll | user32.dll | gdi32.dll | ole32.dll | oleaut32.dll | msvcrt.dll | \
        advapi32.dll | shell32.dll | comctl32.dll | comdlg32.dll | uxtheme.dll | \
        msimg32.dll | winmm.dll | api-ms-win-*.dll) ;;
    *)
        echo "FAIL: imports $name, which is not a system DLL"
        status=1
        ;;
    esac
done
echo "exports: $exports"
echo "imports: $(echo $imports)"
exit $status
