#!/usr/bin/env bash
# Usage: wine_display.sh start|stop WINEPREFIX
# Gives the Windows programs of a test run a virtual X display (Xvfb). "start" starts it and
# records it in WINEPREFIX.display, which cmake/wine-run and the end-to-end tests read; "stop"
# ends it. Wine binds the server of a prefix to the display it first saw, so the prefix's server
# is ended both times, to start again with the new display.
set -uo pipefail

action=$1
prefix="$(realpath -m "$2")"
state="$prefix.display"
end_wine_server() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null
}
end_display() {
    if [ -f "$state" ]; then
        # shellcheck disable=SC1090
        . "$state"
        # Only the display server recorded there: after a reboot its number may name another.
        # shellcheck disable=SC2154 # xvfb_pid comes from the state file
        if [ "$(ps -p "$xvfb_pid" -o comm= 2>/dev/null)" = Xvfb ]; then
            kill "$xvfb_pid"
        fi
        rm -f "$state"
    fi
}

case "$action" in
start)
    # The display of an interrupted run.
    end_display
    number_file="$(mktemp)"
    # The display is left running after this script; its output must not hold CTest's pipes.
    setsid Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$number_file" \
        >/dev/null 2>&1 </dev/null &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        sleep 0.1
    done
    if [ ! -s "$number_file" ]; then
        echo "wine_display.sh: Xvfb did not start" >&2
        exit 1
    fi
    printf 'DISPLAY=:%s\nxvfb_pid=%s\n' "$(head -n1 "$number_file")" "$xvfb" >"$state"
    rm -f "$number_file"
    end_wine_server
    # Keep the server and Wine's own processes (services, the desktop) running from now to the
    # end of the run, started here so that they hold no test's output open.
    WINEPREFIX="$prefix" wineserver --persistent >/dev/null 2>&1 </dev/null
    # The display has no window manager. Wine would wait up to two seconds for one each time a
    # window is hidden or destroyed; told that the window tests' windows are unmanaged, it places
    # them itself. The end-to-end tests click zarn.exe through X, which needs managed windows.
    "$(dirname "$0")/../../cmake/wine-run" "$prefix" reg add \
        'HKCU\Software\Wine\AppDefaults\zarn_win32_window_tests.exe\X11 Driver' \
        /v Managed /d N /f >/dev/null 2>&1 </dev/null
    ;;
stop)
    end_wine_server
    end_display
    ;;
*)
    echo "usage: wine_display.sh start|stop WINEPREFIX" >&2
    exit 2
    ;;
esac
