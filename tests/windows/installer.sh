#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer as a Windows player meets it, under Wine: silent (/S) and for
# the current user only, asking Windows for no rights. Its Start menu shortcut
# must start the installed game (the title picture, pixel-exact against the Linux
# build's), its Apps entry must say everything Settings > Apps shows, and the
# silent uninstaller must leave nothing of it but the player's best score,
# settings and saves; a second round with /RemoveSettings takes the best score
# and settings too, never the saves. The zip's README must be the players' one.
#   installer.sh INSTALLER.exe ZIP WINDOWS_REFERENCE GLYPHS.gif WINEPREFIX
set -u
installer=$(realpath "$1") zip=$(realpath "$2")
type -P Xvfb xdotool import compare wine wineserver winepath >/dev/null ||
    { echo "SKIPPED: needs xvfb, xdotool, imagemagick and wine"; exit 77; }
export WINEPREFIX=$5 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trap 'for p in ${game_pid:-}; do kill $p 2>/dev/null; done; wineserver -k 2>/dev/null; kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
# Waits up to N tenths of a second for a command to succeed.
await() { local n=$1; shift; for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done; "$@"; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"

mkdir "$work/zip" && (cd "$work/zip" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
readme=$(find "$work/zip" -name README.txt)
[ -n "$readme" ] || fail "the zip has no README.txt"
! grep -q apt-get "$readme" || fail "the zip's README.txt is the Linux one: $(grep -m1 apt-get "$readme")"
grep -aq 'level="asInvoker"' "$installer" || fail "the installer asks Windows for administrator rights"

"$3" "$4" "$work" >/dev/null || fail "the Linux build could not draw the reference pictures"
start_xvfb || fail "Xvfb did not start"
wineserver -k 2>/dev/null  # Wine's helpers keep the display they started with

version=$(basename "$installer" | sed -n 's/^grimspire-\(.*\)-windows-x64\.exe$/\1/p')
home=$(realpath -m "$WINEPREFIX/drive_c/users/$(id -un)")
dir="$home/AppData/Local/Programs/Grimspire"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Grimspire.lnk"
apps='Software\Microsoft\Windows\CurrentVersion\Uninstall\Grimspire'
settings='HKCU\Software\Grimspire'
saves="$home/Saved Games/Grimspire"
has_key() { wine reg query "$1" >/dev/null 2>&1; }
value() { wine reg query "HKCU\\$apps" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 \+REG_[A-Z_]* \+//p"; }
unix() { realpath -m "$(winepath -u "$1" 2>/dev/null)"; }
# A player with a saved game and no earlier install.
wine reg delete "HKCU\\$apps" /f >/dev/null 2>&1
wine reg delete "$settings" /f >/dev/null 2>&1
rm -rf "$dir" "$shortcut" "$saves" && mkdir -p "$saves" && cp "$work/BEST" "$saves/" || fail "no saves folder"

# Wine draws the frame itself; the game opens at a whole factor of the picture,
# which tells the frame's width. The title picture must sit centred inside it.
title_shown() {
    import -display "$display" -window "$window" "$work/raw.png" 2>/dev/null || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local f b
    for f in 1 2 3; do
        b=$(( (WIDTH - 640 * f) / 2 ))
        [ $b -ge 0 ] && [ $b -lt 24 ] && break
    done
    local x=$(( b - (X < 0 ? -X : 0) )) y=$(( HEIGHT - b - 400 * f - (Y < 0 ? -Y : 0) ))
    convert "$work/raw.png" -crop "$((640 * f))x$((400 * f))+$x+$y" +repage -sample "$((100 / f))%" "$work/shot.png"
    for phase in 0 1; do
        compare -metric AE "$work/shot.png" "$work/title-$phase.ppm" null: 2>/dev/null && return 0
    done
    return 1
}
found_window() { window=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -1) && [ -n "$window" ]; }
no_window() { ! xdotool search --onlyvisible --name '^Grimspire$' >/dev/null 2>&1; }
uninstalled() { [ ! -e "$dir" ] && ! has_key "HKCU\\$apps"; }

for round in keep remove; do
    wine "$installer" /S || fail "the silent install failed with status $?"
    [ "$(cd "$dir" 2>/dev/null && ls | sort | tr '\n' ' ')" = "COPYING.txt README.txt Uninstall.exe grimspire.exe " ] ||
        fail "not the files expected in $dir: $(ls "$dir" 2>&1)"
    ! has_key "HKLM\\$apps" && [ ! -e "$WINEPREFIX/drive_c/Program Files/Grimspire" ] ||
        fail "an install for the current user wrote for all users"
    [ "$(value DisplayName)|$(value DisplayVersion)|$(value Publisher)" = "Grimspire|$version|The Grimspire Team" ] ||
        fail "the Apps entry's name, version or publisher: $(wine reg query "HKCU\\$apps" 2>&1)"
    [ "$(unix "$(value InstallLocation)")" = "$dir" ] && [ "$(unix "$(value DisplayIcon | sed 's/,0$//')")" = "$dir/grimspire.exe" ] ||
        fail "the Apps entry's folder or icon: $(wine reg query "HKCU\\$apps" 2>&1)"
    uninstaller=$(unix "$(value UninstallString | sed 's/^"\(.*\)"$/\1/')")
    [ "$uninstaller" = "$dir/Uninstall.exe" ] || fail "the Apps entry's uninstall string: $(value UninstallString)"
    size=$(value EstimatedSize)
    [ $(( size )) -ge $(( $(du -sk "$dir" | cut -f1) * 9 / 10 )) ] || fail "the Apps entry's size: $size KB"

    if [ $round = keep ]; then
        target=$(unix "$(strings "$shortcut" 2>/dev/null | grep -m1 -i '^[a-z]:\\.*\.exe$')")
        [ "$target" = "$dir/grimspire.exe" ] || fail "the Start menu shortcut points at '$target'"
        wine start /unix "$shortcut" >/dev/null 2>&1 || fail "the Start menu shortcut did not start"
        await 300 found_window || fail "the shortcut opened no window titled Grimspire"
        game_pid=$(xdotool getwindowpid "$window")
        await 100 title_shown || { cp "$work/raw.png" /tmp/grimspire-installed.png; fail "the installed game does not show the title (what it showed: /tmp/grimspire-installed.png)"; }
        xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key alt+g sleep 0.5 key x
        await 100 no_window || fail "Exit did not end the installed game"
        game_pid=
        wine reg add "$settings" /v HighScore /t REG_DWORD /d 50 /f >/dev/null 2>&1 || fail "could not keep a best score"
        wine "$uninstaller" /S
    else
        wine "$uninstaller" /S /RemoveSettings
    fi
    await 100 uninstalled || fail "the uninstaller left $(ls "$dir" 2>&1) and the Apps entry $(value DisplayName)"
    [ ! -e "$shortcut" ] || fail "the uninstaller left the Start menu shortcut"
    [ -f "$saves/BEST" ] || fail "the uninstaller took the saved games"
    if [ $round = keep ]; then
        has_key "$settings" || fail "a silent uninstall took the best score and settings"
    else
        ! has_key "$settings" || fail "the uninstaller with /RemoveSettings kept them: $(wine reg query "$settings" 2>&1)"
    fi
done
echo "PASSED: per-user silent install, complete Apps entry, Start menu shortcut starts the title;"
echo "uninstall leaves nothing, keeps the saves, and the best score unless asked; the zip's README is the players'"
