#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display, types keys into it, compares the
# window and the full screen with the title picture and the pictures grimspire-replay
# draws (tests/scenarios/desktop.txt), ends it from the menu and continues the game kept.
# GRIMSPIRE_UPDATE_GOLDEN=1 takes the window's first picture as the new title.png.
#   xvfb_smoke.sh GRIMSPIRE GRIMSPIRE_REPLAY SCENARIOS GLYPHS.gif
set -u
golden=$(dirname "$0")/title.png
type -P Xvfb xdotool import compare >/dev/null || { echo "SKIPPED: needs xvfb, xdotool and imagemagick"; exit 77; }
work=$(mktemp -d)
trap '[ -n "${game_pid:-}" ] && kill $game_pid; kill ${xvfb_pid:-}; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; cat "$work/game.log"; exit 1; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"
"$2" --glyphs "$4" "$3/desktop.txt" "$work" || fail "grimspire-replay could not draw the pictures"
start_xvfb || fail "Xvfb did not start"
start_game "$1" || fail "no window titled Grimspire appeared"

# The bottom of the window (the picture, below the menu bar), as large as GEOMETRY.
shoot() {
    import -display "$display" -window "$window" "$work/raw.png" || fail "could not capture the window"
    convert "$work/raw.png" -gravity SouthWest -crop "$1+0+0" +repage "$work/shot.png"
}
# Waits (a busy machine is slow) until the window shows one of the pictures, as large as GEOMETRY.
expect() {
    local picture
    for _ in $(seq 60); do
        shoot "$1"
        for picture in "${@:2}"; do
            compare -metric AE "$work/shot.png" "$picture" null: 2>/dev/null && return 0
        done
        sleep 0.25
    done
    return 1
}
[ "${GRIMSPIRE_UPDATE_GOLDEN:-}" = 1 ] && sleep 2 && shoot 640x400 && cp "$work/shot.png" "$golden"
# On this 1280 x 1024 screen the full screen shows the picture doubled, centred on black.
convert "$golden" -sample 200% -background black -gravity center -extent 1280x1024 "$work/full.png"
expect 640x400 "$golden" || fail "the window does not show the title picture"
xdotool key i
expect 640x400 "$work/instructions-0.ppm" || fail "key I did not bring the instructions page"
xdotool key F1
expect 640x400 "$work/about-0.ppm" || fail "F1 did not show the About box as drawn, yellow over the page"
xdotool key F1
expect 640x400 "$work/instructions-0.ppm" || fail "F1 did not close the About box"
xdotool key F2
expect 640x400 "$golden" || fail "F2 (New Game) did not bring the title back"
xdotool key alt+Return
expect 1280x1024 "$work/full.png" || fail "full screen does not show the title doubled and centred on black"
xdotool key alt+Return
expect 640x400 "$golden" || fail "leaving full screen did not bring the window back"

for _ in 1 2 3 4 5; do xdotool key i BackSpace; done  # cues, with no sound server
xdotool key F7 ctrl+plus

# Polls until CHECK succeeds, for up to 15 s.
until_() { for _ in $(seq 300); do "$@" && return 0; sleep 0.05; done; return 1; }
shown() { xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | wc -l; }
# Game, then Exit, by the menu's own keys, the second once the drop-down is shown.
leave() {
    local before; before=$(shown)
    xdotool key alt+g
    until_ eval '[ "$(shown)" -gt "$before" ]' || fail "alt+g showed no menu"
    xdotool key x
    until_ eval '! kill -0 $game_pid 2>/dev/null' || fail "the program did not end from the menu"
    wait $game_pid || fail "the program exited with status $?"
    game_pid=
}
leave
[ "$(grep -c 'no audio output' "$work/game.log")" = 1 ] || fail "no sound device was not reported exactly once"
# The next start comes back amber and twice the size, as left.
start_game "$1" || fail "no window titled Grimspire appeared at the second start"
convert "$golden" -fill '#FFBF00' -opaque '#A8A8A8' -sample 200% "$work/amber.png"
expect 1280x800 "$work/amber.png" || fail "the second start did not keep amber and the zoom"

# Exit in the middle of a game asks nothing and keeps it; C at the next title brings it back as it stood.
for p in "$work"/{left,continue}-?.ppm; do convert "$p" -sample 200% "${p%.ppm}.png"; done
xdotool key p Left Left
expect 1280x800 "$work/left-0.png" "$work/left-1.png" || fail "P and two steps left did not show the game"
leave
[ "$(stat -c %s "$work/data/grimspire/saves/kept-game" 2>/dev/null)" = 2152 ] || fail "Exit kept no game"
start_game "$1" || fail "no window titled Grimspire appeared at the third start"
expect 1280x800 "$work/continue-0.png" "$work/continue-1.png" || fail "the title does not offer the kept game"
xdotool key c
expect 1280x800 "$work/left-0.png" "$work/left-1.png" || fail "C did not bring back the game as it was left"
leave
echo "PASSED: the title in the window and doubled on the full screen, keys reached the game, Exit ended it;"\
     "amber and the zoom kept for the next start; Exit kept the game and C brought it back"
