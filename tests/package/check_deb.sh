#!/usr/bin/env bash
# Usage: check_deb.sh CPACK CPACK_CONFIG VERSION
# Makes the Debian package with cpack and checks what it installs, what it depends on, and that
# its desktop entry and AppStream metainfo pass their validators.
set -euo pipefail

cpack=$1
config=$2
package=zarn_$3_amd64.deb

work="$(mktemp -d "${TMPDIR:-/tmp}/zarn-deb-XXXXXX")"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

"$cpack" -G DEB --config "$config" -B "$work/staging" \
    -D CPACK_OUTPUT_FILE_PREFIX="$work/packages" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
deb="$work/packages/$package"
[ -f "$deb" ] || fail "cpack made $(cd "$work/packages" && echo *.deb), not $package"

files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort -k2)
expected="-rwxr-xr-x ./usr/bin/zarn
-rwxr-xr-x ./usr/bin/zarn-cli
-rw-r--r-- ./usr/share/applications/org.zarn.zarn.desktop
-rw-r--r-- ./usr/share/doc/zarn/copyright"
for size in 128 16 24 256 32 48 64; do
    expected+=$'\n'"-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/zarn.png"
done
expected+="
-rw-r--r-- ./usr/share/man/man1/zarn-cli.1.gz
-rw-r--r-- ./usr/share/man/man1/zarn.1.gz
-rw-r--r-- ./usr/share/metainfo/org.zarn.zarn.metainfo.xml"
[ "$files" = "$expected" ] || fail "$package installs:"$'\n'"$files"

# What the program links, as dpkg-shlibdeps found it, and what it loads or lays out with.
depends=$(dpkg-deb --field "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
    fonts-liberation; do
    grep -qxF "$needed" <<<"$names" || fail "$package does not depend on $needed: $depends"
done

dpkg-deb --extract "$deb" "$work/root"
share="$work/root/usr/share"
desktop_entry="$share/applications/org.zarn.zarn.desktop"
validation=$(desktop-file-validate "$desktop_entry" 2>&1) ||
    fail "the desktop entry does not pass desktop-file-validate: $validation"
[ -z "$validation" ] || fail "desktop-file-validate says of the desktop entry: $validation"
# Shown in the menu among the games, found by the games' names, and the default for no file type:
# zarn never becomes what opens a folder or an .exe.
grep -qx 'Categories=Game;' "$desktop_entry" || fail "the desktop entry is not among the games"
grep -q '^Keywords=.*Allied General;' "$desktop_entry" || fail "the desktop entry lacks keywords"
if grep -q '^NoDisplay=true' "$desktop_entry"; then
    fail "the desktop entry is hidden from the menu"
fi
# Started from the menu, zarn asks for the game's folder.
grep -qx 'Exec=zarn --choose-folder' "$desktop_entry" ||
    fail "the menu does not start zarn with its folder chooser: $(grep '^Exec=' "$desktop_entry")"
if grep -q '^MimeType=' "$desktop_entry"; then
    fail "the desktop entry claims file types: $(grep '^MimeType=' "$desktop_entry")"
fi
appstreamcli validate --no-net --pedantic "$share/metainfo/org.zarn.zarn.metainfo.xml" ||
    fail "the metainfo does not pass appstreamcli validate"

# Each icon is a PNG of the size its folder names: the width and height in its header.
for icon in "$share"/icons/hicolor/*/apps/zarn.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$(head -c8 "$icon" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$icon is not a PNG"
    [ "${width}x$height" = "$size" ] || fail "the $size icon is ${width}x$height"
done
zcat "$share/man/man1/zarn.1.gz" | grep -q '^\.B zarn$' || fail "the man page does not document zarn"
zcat "$share/man/man1/zarn-cli.1.gz" | grep -q '^\.B zarn-cli export$' ||
    fail "the man page of zarn-cli does not document it"
echo "$package installs zarn, zarn-cli, the desktop entry, icons, metainfo and man pages; depends" \
    "on $depends"
