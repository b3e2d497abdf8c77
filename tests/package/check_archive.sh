#!/usr/bin/env bash
# Usage: check_archive.sh CPACK CPACK_CONFIG VERSION linux
#        check_archive.sh CPACK CPACK_CONFIG VERSION windows WINE_RUN WINEPREFIX
# Makes the archive that users download with cpack, checks that it holds the program, zarn-cli,
# its readme and the licence and nothing else (in the Windows archive with .txt names and CR LF
# line ends), unpacks it, asks the unpacked zarn-cli its version and starts the unpacked program
# far enough to show its window: zarn on a virtual X display of its own, zarn.exe under Wine on the
# test run's display (wine_display.sh).
set -euo pipefail

cpack=$1
config=$2
version=$3
system=$4
window_title="Darvel's Zarn Editor 1.0"

work="$(mktemp -d "${TMPDIR:-/tmp}/zarn-package-XXXXXX")"
program_pid=""
own_xvfb=""
cleanup() {
    for pid in $program_pid $own_xvfb; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

case "$system" in
linux)
    top=zarn-$version-Linux-x86_64
    archive=$top.tar.gz
    generator=TGZ
    program=zarn
    console=zarn-cli
    licence=LICENSE
    ;;
windows)
    top=zarn-$version-win64
    archive=$top.zip
    generator=ZIP
    program=zarn.exe
    console=zarn-cli.exe
    licence=LICENSE.txt
    ;;
*)
    fail "unknown system $system"
    ;;
esac

"$cpack" -G "$generator" --config "$config" -B "$work/staging" \
    -D CPACK_OUTPUT_FILE_PREFIX="$work/packages" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
[ -f "$work/packages/$archive" ] ||
    fail "cpack made $(cd "$work/packages" && echo *.tar.gz *.zip), not $archive"

listing=$(cd "$work" && cmake -E tar tf "packages/$archive" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$top/$licence" "$top/README.txt" "$top/$program" "$top/$console" | sort)
[ "$listing" = "$expected" ] || fail "$archive holds: $listing"

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "../packages/$archive")
folder="$work/unpacked/$top"
grep -q $'^MIT License\r\\?$' "$folder/$licence" || fail "$licence is not the MIT licence"
grep -q $'Copyright (c) .* the zarn authors\r\\?$' "$folder/$licence" ||
    fail "$licence does not name the zarn authors"
grep -q "^zarn $version for $([ "$system" = linux ] && echo Linux || echo Windows)" "$folder/README.txt" ||
    fail "README.txt is not the readme for users"

if [ "$system" = windows ]; then
    # Every line of the readme and the licence ends in CR LF, the last one included.
    for text in README.txt "$licence"; do
        if grep -q $'[^\r]$\|^$' "$folder/$text" || [ "$(tail -c1 "$folder/$text" | wc -l)" -ne 1 ]; then
            fail "$text has a line that does not end in CR LF"
        fi
    done
    wine=("$5" "$6")
    says=$("${wine[@]}" "$folder/$console" --version | tr -d '\r')
    DISPLAY=$(sed -n 's/^DISPLAY=//p' "$(realpath -m "$6").display")
    export DISPLAY
    (cd "$folder" && exec "${wine[@]}" "$folder/$program") &
    program_pid=$!
else
    [ -x "$folder/$program" ] || fail "$program is not executable"
    says=$("$folder/$console" --version)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    own_xvfb=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
    (cd "$folder" && QT_QPA_PLATFORM=xcb exec "./$program") &
    program_pid=$!
fi

[ "$says" = "zarn-cli $version" ] || fail "the unpacked $console --version says: $says"

if ! timeout 60 xdotool search --sync --onlyvisible --name "^$window_title\$" >/dev/null; then
    running=ended
    kill -0 "$program_pid" 2>/dev/null && running="still running"
    shown=$(xdotool search --onlyvisible --name . 2>/dev/null |
        while read -r window; do xdotool getwindowname "$window"; done | sort -u | paste -sd ',')
    fail "the unpacked $program did not show its window ($running; windows shown: ${shown:-none})"
fi
kill -0 "$program_pid" 2>/dev/null || fail "the unpacked $program ended"
echo "$archive holds $program, $console, README.txt and $licence; the unpacked $program shows its" \
    "window and $console runs"
