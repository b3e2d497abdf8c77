#!/usr/bin/env bash
# Usage: system_dlls_only.sh OBJDUMP PROGRAM.exe
# Checks that a Windows program needs no DLL beyond those that every Windows installation has,
# so that it can be shipped as one file.
set -euo pipefail

system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll advapi32.dll "
# Active Accessibility, which screen readers use, and the COM libraries it builds on.
system_dlls+="oleacc.dll ole32.dll oleaut32.dll "
# CommandLineToArgvW, which splits the command line into the folder zarn is started on.
system_dlls+="shell32.dll "
needed=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
[ -n "$needed" ] || { echo "no DLLs found in $2" >&2; exit 1; }
status=0
for dll in $needed; do
    if [[ "$system_dlls" != *" $dll "* ]]; then
        echo "$(basename "$2") needs $dll, which is not part of Windows" >&2
        status=1
    fi
done
echo "$(basename "$2") needs only:" "${needed//$'\n'/ }"
exit "$status"
