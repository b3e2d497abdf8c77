#!/usr/bin/env bash
# Usage: windows_console_program.sh OBJDUMP PROGRAM.exe
# Checks that a Windows program is a console program, which a command prompt waits for and whose
# output it shows, and not a windowed one.
set -euo pipefail

subsystem=$("$1" -p "$2" | sed -n 's/^Subsystem[[:space:]]*//p')
echo "$(basename "$2"): subsystem $subsystem"
[[ "$subsystem" == *"(Windows CUI)" ]]
