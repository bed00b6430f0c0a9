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
installer=$(realpath "$1") zip=$(realpath "$2")
. "$(dirname "$0")/session.sh" "${@:3}"
mkdir "$work/zip" && (cd "$work/zip" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
! grep -r apt-get --include=README.txt "$work/zip" || fail "the zip's README.txt is the Linux one"
grep -aq 'level="asInvoker"' "$installer" || fail "the installer asks Windows for administrator rights"

dir="$home/AppData/Local/Programs/Grimspire"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Grimspire.lnk"
apps='Software\Microsoft\Windows\CurrentVersion\Uninstall\Grimspire'
has_key() { wine reg query "$1" >/dev/null 2>&1; }
# A player with a saved game and no earlier install.
wine reg delete "HKCU\\$apps" /f >/dev/null 2>&1
rm -rf "$dir" "$shortcut"
win=$(winepath -w "$dir") version=$(basename "$installer" | sed 's/^grimspire-\(.*\)-windows-x64\.exe$/\1/')
expected="DisplayIcon $win\\grimspire.exe,0|DisplayName Grimspire|DisplayVersion $version|InstallLocation $win|\
NoModify 0x1|NoRepair 0x1|Publisher The Grimspire Team|QuietUninstallString \"$win\\Uninstall.exe\" /S|\
UninstallString \"$win\\Uninstall.exe\"|"
uninstalled() { [ ! -e "$dir" ] && ! has_key "HKCU\\$apps"; }

# Uninstalled twice: keeping the best score and settings, then with /RemoveSettings.
for round in keep /RemoveSettings; do
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
        launch start /wait /unix "$shortcut"
        shot title
        quit "in the installed game"
        wine reg add "$settings" /v HighScore /t REG_DWORD /d 50 /f >/dev/null 2>&1 || fail "no best score kept"
    fi
    wine "$dir/Uninstall.exe" /S ${round#keep} >>"$work/wine.log" 2>&1
    until_ uninstalled || fail "the uninstaller left $(ls "$dir" 2>&1) and the Apps entry: $(wine reg query "HKCU\\$apps" 2>&1)"
    [ ! -e "$shortcut" ] || fail "the uninstaller left the Start menu shortcut"
    [ -f "$saves/BEST" ] || fail "the uninstaller took the saved games"
    has_key "$settings"
    [ $? = $([ $round = keep ] && echo 0 || echo 1) ] || fail "after uninstalling ($round): $(wine reg query "$settings" 2>&1)"
done
echo "PASSED: per-user silent install, complete Apps entry, Start menu shortcut starts the title;"
echo "uninstall leaves nothing, keeps the saves, and the best score unless asked; the zip's README is the players'"
