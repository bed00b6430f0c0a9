#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree, unpacks it into a temporary root,
# checks what a desktop expects to find there, then starts the unpacked game under
# Xvfb and looks for the castle of its title screen.
#
#   package_test.sh BUILD_DIR CPACK VERSION
#
# Exits 0 when all is well, 77 (skipped) when Xvfb is missing after the file
# checks passed, anything else on a fault.
set -eu

build=$1
cpack=$2
version=$3
app_id=io.github.grimspire.Grimspire
skip=77

work=$(mktemp -d "${TMPDIR:-/tmp}/grimspire-package.XXXXXX")
game_pid=
xvfb_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "-- $*"; }

# ---------------------------------------------------------------- the package
# CPack computes the dependencies with these two.
command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is needed to build the package (package dpkg-dev)"
command -v file >/dev/null || fail "file is needed to build the package (package file)"

step "building the package with $cpack"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack could not build the package"
fi
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb in $work/out, found: ${debs[*]}"
deb=${debs[0]}
echo "   $(basename "$deb"), $(stat -c %s "$deb") bytes"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = grimspire ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version is '$(field Version)', the project's is $version"
[ "$(field Section)" = games ] || fail "section is '$(field Section)', not games"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture is '$(field Architecture)'"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "maintainer '$(field Maintainer)' has no address"
depends=$(field Depends)
echo "   Depends: $depends"
# Computed from the linked libraries, so the C library and Qt must be among them.
depend_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6; do
    grep -qxF "$lib" <<<"$depend_names" || fail "Depends does not name $lib: $depends"
done

step "unpacking into a temporary root"
root=$work/root
dpkg-deb -x "$deb" "$root"
# Every file the package carries, and nothing more: a stray install rule elsewhere
# in the tree would show up here.
expected=$(sort <<EOF
./usr/bin/grimspire
./usr/share/applications/$app_id.desktop
./usr/share/doc/grimspire/README.md
./usr/share/doc/grimspire/changelog.gz
./usr/share/doc/grimspire/copyright
./usr/share/icons/hicolor/128x128/apps/$app_id.png
./usr/share/icons/hicolor/16x16/apps/$app_id.png
./usr/share/icons/hicolor/256x256/apps/$app_id.png
./usr/share/icons/hicolor/32x32/apps/$app_id.png
./usr/share/icons/hicolor/48x48/apps/$app_id.png
./usr/share/icons/hicolor/64x64/apps/$app_id.png
./usr/share/man/man6/grimspire.6.gz
./usr/share/metainfo/$app_id.metainfo.xml
EOF
)
actual=$(cd "$root" && find . ! -type d | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the package's files differ from the expected layout (- expected, + packaged)"
fi
bad_owner=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[ -z "$bad_owner" ] || fail "files not owned by root: $bad_owner"
writable=$(find "$root" -perm /022 ! -type l)
[ -z "$writable" ] || fail "group- or world-writable files: $writable"

[ "$(zcat "$root/usr/share/doc/grimspire/changelog.gz" | head -n1)" = "grimspire ($version) unstable; urgency=medium" ] \
    || fail "the changelog's first entry is not for version $version"

step "the program"
binary=$root/usr/bin/grimspire
[ -x "$binary" ] || fail "usr/bin/grimspire is not executable"
[ "$(head -c 4 "$binary" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "usr/bin/grimspire is not an ELF file"
if command -v readelf >/dev/null; then
    ! readelf -S "$binary" | grep -q '\.debug_info' || fail "usr/bin/grimspire still carries debug information"
fi
missing=$(ldd "$binary" | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found: $missing"

step "desktop entry"
desktop=$root/usr/share/applications/$app_id.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
else
    echo "   not validated: desktop-file-validate is not installed (package desktop-file-utils)"
fi
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no program in usr/bin"
[ "$icon_name" = "$app_id" ] || fail "Icon=$icon_name is not the application id"

step "AppStream metadata"
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q '<content_rating type="oars-' "$metainfo" || fail "the metainfo has no content rating"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
    # The installed tree as a software centre sees it: metainfo, desktop entry and icons together.
    appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli rejects the installed tree"
else
    echo "   not validated: appstreamcli is not installed (package appstream)"
fi

step "icons"
png_size() {  # width x height from the PNG header
    local w h
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$1")
    echo "${w}x${h}"
}
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    got=$(png_size "$icon") || fail "$icon is not a PNG file"
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done

step "manual page"
man_page=$root/usr/share/man/man6/grimspire.6.gz
zcat "$man_page" | grep -q '^\.SH NAME' || fail "the manual page has no NAME section"
if command -v groff >/dev/null; then
    groff_err=$(zcat "$man_page" | groff -t -man -Tutf8 -ww -z 2>&1)
    [ -z "$groff_err" ] || fail "groff warns about the manual page: $groff_err"
else
    echo "   not checked with groff: it is not installed (package groff-base)"
fi
if command -v man >/dev/null && command -v lexgrog >/dev/null; then
    rendered=$(MANWIDTH=80 man -l "$man_page" 2>"$work/man.err") || fail "man -l cannot show the manual page"
    [ ! -s "$work/man.err" ] || fail "man -l complains: $(cat "$work/man.err")"
    grep -q 'grimspire - ' <<<"$rendered" || fail "the manual page's NAME line does not name grimspire"
    lexgrog "$man_page" >/dev/null || fail "lexgrog finds no whatis line in the manual page"
else
    echo "   not checked with man -l: it is not installed (package man-db)"
fi

# ---------------------------------------------------------------- the game
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (package xvfb), so the unpacked game was not started"
    exit $skip
fi
for tool in xdotool:xdotool import:imagemagick convert:imagemagick identify:imagemagick; do
    command -v "${tool%%:*}" >/dev/null || fail "${tool%%:*} is needed to look at the game (package ${tool#*:})"
done

step "starting Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=:$(head -n1 "$work/display")
echo "   display $DISPLAY"

step "starting the unpacked game"
mkdir -p "$work/home" "$work/run" "$work/runtime"
chmod 700 "$work/runtime"
(
    cd "$work/run"
    exec env -u WAYLAND_DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$binary"
) >"$work/game.log" 2>&1 &
game_pid=$!
game_died() {
    echo "--- the game's output:" >&2
    cat "$work/game.log" >&2
    fail "$1"
}

wid=
for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    kill -0 "$game_pid" 2>/dev/null || game_died "the game ended before its window appeared"
    sleep 0.1
done
[ -n "$wid" ] || game_died "no window named Grimspire appeared within 20 seconds"
echo "   window $wid: $(xwininfo -id "$wid" 2>/dev/null | sed -n 's/.*-geometry //p')"

# The castle of the title screen, found wherever the picture sits in the window
# (a menu bar may push it down). In the gray scheme every lit pixel is
# (168,168,168): the battlement at cell (4,4) is a solid block with a gap beside
# it, the top of the gate, cells 17 to 21 of row 17, is solid, the portcullis
# below it is a lattice, and the first row of the screen is blank.
find_castle() {
    local size w h
    size=$(identify -format '%w %h' "$1") || return 2
    read -r w h <<<"$size"
    convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk -v W="$w" -v H="$h" '
        { c = ($1 == 168 && $2 == 168 && $3 == 168) ? 1 : (($1 + $2 + $3) == 0 ? 0 : 2)
          px[NR - 1] = c; if (c) lit++ }
        function all(x0, y0, cw, ch, v,   x, y) {
            for (y = y0; y < y0 + ch; y++) for (x = x0; x < x0 + cw; x++) if (px[y * W + x] != v) return 0
            return 1 }
        function lattice(x0, y0, cw, ch,   x, y, on, off) {
            for (y = y0; y < y0 + ch; y++) for (x = x0; x < x0 + cw; x++) {
                if (px[y * W + x] == 1) on++; else if (px[y * W + x] == 0) off++; else return 0 }
            return on > 0 && off > 0 }
        END {
            if (!lit) { print "the picture is all black"; exit 1 }
            for (dy = 0; dy <= H - 400; dy++) for (dx = 0; dx <= W - 640; dx++) {
                if (px[(dy + 64) * W + dx + 64] != 1) continue
                if (all(dx + 64, dy + 64, 16, 16, 1) && all(dx + 80, dy + 64, 16, 16, 0) &&
                    all(dx + 272, dy + 272, 80, 16, 1) && lattice(dx + 288, dy + 288, 48, 64) &&
                    all(dx, dy, 640, 16, 0)) { print "castle at " dx "," dy " in " W "x" H; exit 0 }
            }
            print "no castle in the " W "x" H " picture (" lit " lit pixels)"; exit 1 }'
}

step "looking for the title screen"
shot=$work/title.png
verdict=
for _ in $(seq 40); do
    kill -0 "$game_pid" 2>/dev/null || game_died "the game ended on its title screen"
    if import -window "$wid" "$shot" 2>/dev/null && verdict=$(find_castle "$shot"); then
        break
    fi
    verdict=${verdict:-no picture captured}
    sleep 0.25
done
echo "   $verdict"
if [[ "$verdict" != "castle at "* ]]; then
    cp "$shot" "$build/package_test_title.png" 2>/dev/null && echo "   the last capture: $build/package_test_title.png" >&2
    game_died "the title screen did not show"
fi

# Leave the way a player does: start a game, quit it, and answer the play-again
# question with N. That ends the program with status 0.
step "playing and quitting"
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
press() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}
press p
press q u i t Return
press space
press n
status=
for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        set +e
        wait "$game_pid"
        status=$?
        set -e
        game_pid=
        break
    fi
    sleep 0.1
done
if [ -z "$status" ]; then
    import -window "$wid" "$build/package_test_end.png" 2>/dev/null || true
    game_died "the game was still running 10 seconds after QUIT and N (last picture: $build/package_test_end.png)"
fi
[ "$status" -eq 0 ] || game_died "the game ended with status $status"
echo "   the game ended with status 0"
echo "PASS"
