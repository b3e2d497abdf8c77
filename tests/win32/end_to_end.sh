#!/usr/bin/env bash
# Usage: end_to_end.sh SCENARIO ZARN_EXE HELPER_EXE WINE_RUN WINEPREFIX
# Drives zarn.exe under Wine, on the test run's virtual display (wine_display.sh), as a person would: mouse clicks at the
# controls' positions, Return to dismiss a message box. The program folder is a fresh temporary
# folder whose name is not ASCII, holding a copy of zarn.exe and a synthetic ag.exe.
# Scenarios: export, round_trip, edited_import, refused_import, selection_message, and
# network_export, which starts zarn.exe from a network folder, and folder_argument and
# missing_folder, where zarn.exe is started on a folder as Explorer does when one is dropped onto
# it; current_folder, where zarn.exe lies elsewhere and is started in the game's folder, and
# chosen_folder and chooser_cancelled, where it asks for the folder with the folder picker.
set -euo pipefail

scenario=$1
zarn_exe=$2
helper_exe=$3
wine=("$4" "$5")
prefix="$(realpath -m "$5")"
# shellcheck disable=SC1090
. "$prefix.display"
export DISPLAY

window_title="Darvel's Zarn Editor 1.0"
work="$(mktemp -d "${TMPDIR:-/tmp}/zarn-e2e-XXXXXX")"
folder="$work/Spielstände ä"
zarn_program="$folder/zarn.exe"
share=""
zarn_pid=""
# The folder that Windows programs start in.
start_in="$work"

cleanup() {
    if [ -n "$zarn_pid" ] && kill -0 "$zarn_pid" 2>/dev/null; then
        kill "$zarn_pid"
    fi
    [ -z "$share" ] || rm -f "$share"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED ($scenario): $*" >&2
    exit 1
}

prepare_folder() {
    mkdir -p "$folder"
    cp "$zarn_exe" "$folder/zarn.exe"
    (cd "$folder" && "${wine[@]}" "$helper_exe" folder)
    cp "$folder/ag.exe" "$work/original_ag.exe"
}

# Starts a Windows program in the background, with its arguments.
launch() {
    (cd "$start_in" && exec "${wine[@]}" "$@") &
    zarn_pid=$!
}

# The Windows form of a path, as Explorer passes it.
windows_path() {
    "${wine[@]}" winepath -w "$1" | tr -d '\r'
}

# Starts zarn.exe, $zarn_program unless another is named with its arguments, and
# waits for its window.
start_zarn() {
    if [ $# -eq 0 ]; then
        set -- "$zarn_program"
    fi
    launch "$@"
    wait_for_window
}

# Prints the first visible window whose title matches, waiting up to SECONDS for one. Looks again
# when a window closed while xdotool looked at it, which ends that look with an X error.
find_window() {
    local seconds=$1 title=$2 found
    for _ in $(seq $((seconds * 10))); do
        found=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1) || true
        if [ -n "$found" ]; then
            echo "$found"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

wait_for_window() {
    window=$(find_window 60 "^$window_title\$") || fail "the window did not open"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # Without a window manager the X window is the client area itself.
    client_x=$X
    client_y=$Y
}

# Clicks the centre of a button or link of the window, named as screen readers name it.
click() {
    local centre
    centre=$("${wine[@]}" "$helper_exe" centre "$1" | tr -d '\r')
    read -r x y <<<"$centre"
    xdotool mousemove --sync $((client_x + x)) $((client_y + y)) click 1
}

# Waits for the folder picker and gives it the keyboard.
focus_folder_picker() {
    local picker
    picker=$(find_window 60 "^Choose the folder that holds the game's ag.exe or pg.exe\$") ||
        fail "the folder picker did not open"
    xdotool windowfocus --sync "$picker"
}

# Waits for a message box titled "zarn", checks that zarn is still running and presses Return.
dismiss_message_box() {
    local box
    box=$(find_window 30 '^zarn$') || fail "no message box titled zarn appeared"
    kill -0 "$zarn_pid" 2>/dev/null || fail "zarn ended while showing its message"
    xdotool windowfocus --sync "$box"
    xdotool key --clearmodifiers Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^zarn$' >/dev/null || return 0
        sleep 0.1
    done
    fail "Return did not dismiss the message box"
}

expect_exit() {
    local expected=$1 status=0
    for _ in $(seq 300); do
        kill -0 "$zarn_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$zarn_pid" 2>/dev/null && fail "zarn is still running"
    wait "$zarn_pid" || status=$?
    zarn_pid=""
    [ "$status" -eq "$expected" ] || fail "zarn ended with status $status, expected $expected"
}

expect_same() {
    cmp -s "$1" "$2" || fail "$(basename "$1") differs from $(basename "$2")"
}

export_allied_general() {
    start_zarn "$@"
    click "Allied General"
    click "EXE -> TXT"
    expect_exit 0
}

import_allied_general() {
    start_zarn
    click "Allied General"
    click "TXT->EXE"
}

prepare_folder
case "$scenario" in
export)
    export_allied_general
    expect_same "$folder/p_slots.txt" "$folder/expected_slots.txt"
    ;;
round_trip)
    export_allied_general
    import_allied_general
    expect_exit 0
    expect_same "$folder/ag.exe" "$work/original_ag.exe"
    ;;
edited_import)
    cp "$folder/edited_slots.txt" "$folder/p_slots.txt"
    import_allied_general
    expect_exit 0
    expect_same "$folder/ag.exe" "$folder/edited_ag.exe"
    changed=$({ cmp -l "$work/original_ag.exe" "$folder/ag.exe" || true; } | wc -l)
    [ "$changed" -eq 2 ] || fail "the import changed $changed bytes instead of 2"
    expect_same "$folder/ag.exe.orig" "$work/original_ag.exe"
    ;;
refused_import)
    cp "$folder/wrong_count_slots.txt" "$folder/p_slots.txt"
    import_allied_general
    dismiss_message_box
    expect_exit 1
    expect_same "$folder/ag.exe" "$work/original_ag.exe"
    ;;
network_export)
    # Wine serves \\zarn-e2e\NAME from the folder that dosdevices/unc/zarn-e2e/NAME links to.
    share="$prefix/dosdevices/unc/zarn-e2e/e2e-$$"
    mkdir -p "$(dirname "$share")"
    ln -s "$work" "$share"
    zarn_program="\\\\zarn-e2e\\e2e-$$\\$(basename "$folder")\\zarn.exe"
    export_allied_general
    expect_same "$folder/p_slots.txt" "$folder/expected_slots.txt"
    ;;
selection_message)
    start_zarn
    click "EXE -> TXT"
    dismiss_message_box
    kill -0 "$zarn_pid" 2>/dev/null || fail "zarn ended after the selection message"
    [ ! -e "$folder/p_slots.txt" ] || fail "p_slots.txt was written without a game chosen"
    click Quit
    expect_exit 0
    ;;
folder_argument)
    # zarn.exe outside the game folder, whose name holds a blank, so that Wine passes it quoted.
    mv "$folder/zarn.exe" "$work/zarn.exe"
    start_zarn "$work/zarn.exe" "$(windows_path "$folder")"
    click "Allied General"
    click "EXE -> TXT"
    expect_exit 0
    expect_same "$folder/p_slots.txt" "$folder/expected_slots.txt"
    ;;
missing_folder)
    launch "$folder/zarn.exe" "$(windows_path "$work")\\Spielstände ö"
    dismiss_message_box
    expect_exit 1
    if xdotool search --onlyvisible --name "^$window_title\$" >/dev/null; then
        fail "the window opened on a folder that does not exist"
    fi
    ;;
current_folder)
    # zarn.exe beside no game, started from a command prompt in the game's folder.
    mv "$folder/zarn.exe" "$work/zarn.exe"
    start_in="$folder"
    export_allied_general "$work/zarn.exe"
    expect_same "$folder/p_slots.txt" "$folder/expected_slots.txt"
    ;;
chosen_folder)
    # A shortcut to zarn.exe, which lies beside no game, with the option that asks for the folder.
    # xdotool types no characters beyond ASCII into Wine, so the folder's name is ASCII.
    mv "$folder/zarn.exe" "$work/zarn.exe"
    mv "$folder" "$work/Allied General"
    folder="$work/Allied General"
    launch "$work/zarn.exe" --choose-folder
    focus_folder_picker
    xdotool type --delay 20 "$(windows_path "$folder")"
    xdotool key --clearmodifiers Return
    wait_for_window
    click "Allied General"
    click "EXE -> TXT"
    expect_exit 0
    expect_same "$folder/p_slots.txt" "$folder/expected_slots.txt"
    ;;
chooser_cancelled)
    launch "$zarn_program" --choose-folder
    focus_folder_picker
    xdotool key --clearmodifiers Escape
    expect_exit 1
    if xdotool search --onlyvisible --name "^$window_title\$" >/dev/null; then
        fail "the window opened after the folder picker was cancelled"
    fi
    ;;
*)
    fail "no such scenario"
    ;;
esac
echo "passed ($scenario)"
