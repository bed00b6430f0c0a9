#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real grimspire.exe under Wine on a virtual X display of its own, run twice,
# typed into as tests/scenarios/windows.txt says, each shot pixel-exact against the
# picture grimspire-replay draws of it. The first run: the title, the courtyard, a
# reply, one name saved twice, a best score, colour amber, and Exit. The second must
# start in amber with the best score read back from the registry (a name lengthened
# there to 20 characters read as its first 15), take typed letters as an AZERTY
# keyboard prints them, and keep the game Exit leaves, which C at the next title brings back.
#   smoke.sh GRIMSPIRE.EXE GRIMSPIRE_REPLAY SCENARIOS GLYPHS.gif WINEPREFIX
exe=$1
. "$(dirname "$0")/session.sh" "${@:2}"
setting() { wine reg query "$settings" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }
titled() { [ "$(xdotool getwindowname "$window")" = "$1" ]; }

# Exit at the end of the first run; the registry holds what it kept, and the best
# score's holder is lengthened there for the second. A French player: letters are
# taken as the layout prints them, as on Linux.
restart() {
    quit "on the title screen"
    [ "$(setting HighScore)" = 0x32 ] && [ "$(setting HighScoreName)" = WINE ] && [ "$(setting Scheme)" = 0x72 ] ||
        fail "the registry holds no best score of 50 by WINE in amber: $(wine reg query "$settings" 2>&1)"
    wine reg add "$settings" /v HighScoreName /d WINEWINEWINEWINEWINE /f >/dev/null 2>&1 ||
        fail "could not lengthen the best score's name"
    setxkbmap -display "$display" fr || fail "setxkbmap could not switch the layout"
    launch "$exe"
}
scenario "$3/windows.txt"
launch "$exe"
play_to saved
[ "$(stat -c %s "$saves/TWICE")" = 2152 ] || fail "the second SAVE TWICE left no whole file in Saved Games"
play_to amber
xdotool key alt+Return
shot amber full
xdotool key alt+Return
shot amber
xdotool key F3
until_ titled "Grimspire - Paused" || fail "F3 did not pause: $(xdotool getwindowname "$window")"
xdotool key p  # only resumes
until_ titled Grimspire || fail "P did not resume"
shot amber
# Maximised from the window menu: twice the picture, centred; Actual Size gives back 1x.
menu space x
shot amber 2
menu v c
shot amber
play_to best
# Exit in the middle of a game asks nothing and keeps the game; C at the next title brings it back.
quit "in a game"
[ "$(stat -c %s "$saves/kept-game" 2>/dev/null)" = 2152 ] || fail "Exit kept no game in Saved Games"
launch "$exe"
xdotool key c
shot best
quit "the second time"
echo "PASSED: the Windows scenario's shots pixel-exact; best score and amber kept in the registry;"
echo "full screen and maximised doubled; a key only resumes from pause; AZERTY letters as printed; Exit kept the game"
