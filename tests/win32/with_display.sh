#!/usr/bin/env bash
# Usage: with_display.sh WINEPREFIX COMMAND [ARGUMENTS...]
# Runs a command that shows Windows programs under Wine on a virtual X display of its own (Xvfb),
# and exits with the command's status. Wine binds its server for a prefix to the display it first
# saw, so the prefix's server is ended before and after, and display tests must not overlap.
set -uo pipefail

prefix="$(realpath -m "$1")"
shift
end_wine() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null
}

display_file="$(mktemp)"
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$display_file" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
if [ ! -s "$display_file" ]; then
    echo "with_display.sh: Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"

end_wine
"$@"
status=$?
end_wine
kill "$xvfb"
wait "$xvfb" 2>/dev/null
exit "$status"
