#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer as a Windows player meets it, under Wine: silent (/S) and for
# the current user only, asking Windows for no rights. Its Start menu shortcut
# must start the installed game (the title picture, pixel-exact against the Linux
# build's), its Apps entry must say everything Settings > Apps shows, and the
# silent uninstaller must leave nothing of it but the player's best score,
# settings and saves; a second round with /RemoveSettings takes the best score
# and settings too, never the saves. The zip's README must be the players' one.
#   installer.sh INSTALLER.exe ZIP GRIMSPIRE_REPLAY SCENARIOS GLYPHS.gif WINEPREFIX
set -u
installer=$(realpath "$1") zip=$(realpath "$2")
type -P Xvfb xdotool import compare wine wineserver winepath >/dev/null ||
    { echo "SKIPPED: needs xvfb, xdotool, imagemagick and wine"; exit 77; }
export WINEPREFIX=$6 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
# Ending the server with -k takes every program of this prefix with it.
trap '[ -n "${game_pid:-}" ] && kill $game_pid; wineserver -k 2>/dev/null; [ -n "${server_pid:-}" ] && wait $server_pid; kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
# Waits up to N tenths of a second for a command to succeed.
await() { for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.1; done; return 1; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"

mkdir "$work/zip" && (cd "$work/zip" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
! grep -r apt-get --include=README.txt "$work/zip" || fail "the zip's README.txt is the Linux one"
grep -aq 'level="asInvoker"' "$installer" || fail "the installer asks Windows for administrator rights"
"$3" --glyphs "$5" "$4/windows.txt" "$work" || fail "grimspire-replay could not draw the pictures"
start_xvfb || fail "Xvfb did not start"
# Wine's helpers keep the display they started with: a server of our own, which
# stays up between the commands so that no registry change waits on a restart.
# Wine's output goes to a log: its helpers outlive the command that started them.
wineserver -k 2>/dev/null; wineserver -w
wineserver -f -p >/dev/null 2>&1 & server_pid=$!

home=$(realpath -m "$WINEPREFIX/drive_c/users/$(id -un)")
dir="$home/AppData/Local/Programs/Grimspire" saves="$home/Saved Games/Grimspire"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Grimspire.lnk"
apps='Software\Microsoft\Windows\CurrentVersion\Uninstall\Grimspire' settings='HKCU\Software\Grimspire'
has_key() { wine reg query "$1" >/dev/null 2>&1; }
# A player with a saved game and no earlier install.
wine reg delete "HKCU\\$apps" /f >/dev/null 2>&1
wine reg delete "$settings" /f >/dev/null 2>&1
rm -rf "$dir" "$shortcut" "$saves" && mkdir -p "$saves" && cp "$work/BEST" "$saves/" || fail "no saves folder"
win=$(winepath -w "$dir") version=$(basename "$installer" | sed 's/^grimspire-\(.*\)-windows-x64\.exe$/\1/')
expected="DisplayIcon $win\\grimspire.exe,0|DisplayName Grimspire|DisplayVersion $version|InstallLocation $win|\
NoModify 0x1|NoRepair 0x1|Publisher The Grimspire Team|QuietUninstallString \"$win\\Uninstall.exe\" /S|\
UninstallString \"$win\\Uninstall.exe\"|"

# Wine draws the frame itself, as wide at the sides as below; the window opens at
# a whole factor of the picture, and the title picture must sit centred in it.
title_shown() {
    import -display "$display" -window "$window" "$work/raw.png" 2>/dev/null || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    for f in 1 2 3; do b=$(( (WIDTH - 640 * f) / 2 )) && [ $b -ge 0 ] && [ $b -lt 24 ] && break; done
    convert "$work/raw.png" -crop "$((640 * f))x$((400 * f))+$((b + (X < 0 ? X : 0)))+$((HEIGHT - b - 400 * f + (Y < 0 ? Y : 0)))" \
        +repage -sample "$((100 / f))%" "$work/shot.png"
    compare -metric AE "$work/shot.png" "$work/title-0.ppm" null: 2>/dev/null ||
        compare -metric AE "$work/shot.png" "$work/title-1.ppm" null: 2>/dev/null
}
found_window() { window=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -1) && [ -n "$window" ]; }
uninstalled() { [ ! -e "$dir" ] && ! has_key "HKCU\\$apps"; }

for round in keep remove; do
    wine "$installer" /S >>"$work/wine.log" 2>&1 || fail "the silent install failed with status $?"
    [ "$(LC_ALL=C ls "$dir" 2>&1 | tr '\n' ' ')" = "COPYING.txt README.txt Uninstall.exe grimspire.exe " ] ||
        fail "not the files expected in $dir: $(ls "$dir" 2>&1)"
    ! has_key "HKLM\\$apps" && [ ! -e "$WINEPREFIX/drive_c/Program Files/Grimspire" ] ||
        fail "an install for the current user wrote for all users"
    raw=$(wine reg query "HKCU\\$apps" 2>&1)
    entry=$(tr -d '\r' <<<"$raw" | sed -n 's/^ *\([A-Za-z]*\) \+REG_[A-Z_]* \+/\1 /p')
    [ "$(grep -v EstimatedSize <<<"$entry" | tr '\n' '|')" = "$expected" ] || fail "the Apps entry: $raw; again: $(wine reg query "HKCU\\$apps" 2>&1)"
    [ $(( $(sed -n 's/EstimatedSize //p' <<<"$entry") )) -ge $(( $(du -sk "$dir" | cut -f1) * 9 / 10 )) ] ||
        fail "the Apps entry's size is not the folder's: $entry"

    if [ $round = keep ]; then
        [ "$(strings "$shortcut" 2>&1 | grep -m1 -i '^[a-z]:\\.*\.exe$')" = "$win\\grimspire.exe" ] ||
            fail "the Start menu shortcut does not start the installed game: $(strings "$shortcut" 2>&1)"
        wine start /unix "$shortcut" >/dev/null 2>&1 || fail "the Start menu shortcut did not start"
        await 300 found_window || fail "the shortcut opened no window titled Grimspire"
        game_pid=$(xdotool getwindowpid "$window")
        await 100 title_shown || { cp "$work/raw.png" /tmp/grimspire-installed.png
            fail "the installed game does not show the title (it showed /tmp/grimspire-installed.png)"; }
        xdotool windowfocus --sync "$window" 2>/dev/null
        menus=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | wc -l)
        xdotool key alt+g  # and x once the drop-down shows
        await 100 eval '[ "$(xdotool search --onlyvisible --pid $game_pid 2>/dev/null | wc -l)" -gt $menus ]' ||
            fail "alt+g showed no menu in the installed game"
        xdotool key x
        await 100 eval '! kill -0 $game_pid 2>/dev/null' || fail "Exit did not end the installed game"
        game_pid=
        wine reg add "$settings" /v HighScore /t REG_DWORD /d 50 /f >/dev/null 2>&1 || fail "no best score kept"
        wine "$dir/Uninstall.exe" /S >>"$work/wine.log" 2>&1
    else
        wine "$dir/Uninstall.exe" /S /RemoveSettings >>"$work/wine.log" 2>&1
    fi
    await 100 uninstalled || fail "the uninstaller left $(ls "$dir" 2>&1) and the Apps entry: $(wine reg query "HKCU\\$apps" 2>&1)"
    [ ! -e "$shortcut" ] || fail "the uninstaller left the Start menu shortcut"
    [ -f "$saves/BEST" ] || fail "the uninstaller took the saved games"
    has_key "$settings"
    [ $? = $([ $round = keep ] && echo 0 || echo 1) ] || fail "after uninstalling ($round): $(wine reg query "$settings" 2>&1)"
done
echo "PASSED: per-user silent install, complete Apps entry, Start menu shortcut starts the title;"
echo "uninstall leaves nothing, keeps the saves, and the best score unless asked; the zip's README is the players'"
