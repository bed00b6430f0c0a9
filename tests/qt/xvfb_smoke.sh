#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display and types tests/scenarios/desktop.txt into it: the window
# must show the title picture kept here, then at each shot the picture grimspire-replay draws, at the zoom
# or on the full screen the keys chose. Each start ends by Game > Exit; the last must keep the game.
# GRIMSPIRE_UPDATE_GOLDEN=1 takes the window's first picture as the new title.png.
#   xvfb_smoke.sh GRIMSPIRE GRIMSPIRE_REPLAY SCENARIOS GLYPHS.gif
set -u
game=$1 golden=$(dirname "$0")/title.png zoom=1 full=0
type -P Xvfb xdotool import compare >/dev/null || { echo "SKIPPED: needs xvfb, xdotool and imagemagick"; exit 77; }
trap '[ -n "${game_pid:-}" ] && kill $game_pid; kill ${xvfb_pid:-}; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; cat "$work/game.log"; exit 1; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"
. "$3/play.sh"
"$2" --glyphs "$4" "$3/desktop.txt" "$work" || fail "grimspire-replay could not draw the pictures"
start_xvfb || fail "Xvfb did not start"
start_game "$game" || fail "no window titled Grimspire appeared"

# The bottom of the window (the picture, below the menu bar), as large as GEOMETRY.
capture() {
    import -display "$display" -window "$window" "$work/raw.png" || fail "could not capture the window"
    convert "$work/raw.png" -gravity SouthWest -crop "$1+0+0" +repage "$work/shot.png"
}
# Waits (a busy machine is slow) until the window shows NAME's picture, the cursor either way: at the
# zoom, or on this 1280 x 1024 screen doubled and centred on black.
shot() {
    local p factor=$zoom size=$((640 * zoom))x$((400 * zoom))
    [ $full = 1 ] && factor=2 size=1280x1024
    for p in 0 1; do
        convert "$work/$1-$p.ppm" -sample "${factor}00%" -background black -gravity center -extent $size "$work/want-$p.png"
    done
    for _ in $(seq 60); do
        capture $size
        for p in 0 1; do compare -metric AE "$work/shot.png" "$work/want-$p.png" null: 2>/dev/null && return 0; done
        sleep 0.25
    done
    fail "the window does not show the $1 picture, at x$factor"
}
# Keys by the scenario's names; the window's own keep track of what it shows.
press() {
    local k
    for k; do
        case $k in
            !ENTER) k=alt+Return full=$((1 - full)) ;;
            ^+) k=ctrl+plus zoom=$((zoom + 1)) ;;
            *) k=$(keysym "$k") ;;
        esac
        xdotool key "$k"
    done
}
# Game, then Exit, by the menu's own keys.
leave() {
    menu g x
    until_ eval '! kill -0 $game_pid 2>/dev/null' || fail "the program did not end from the menu"
    wait $game_pid || fail "the program exited with status $?"
    game_pid=
    [ "$(grep -c 'no audio output' "$work/game.log")" = 1 ] || fail "no sound device was not reported exactly once"
}
restart() { leave; start_game "$game" || fail "no window titled Grimspire appeared again"; }

if [ "${GRIMSPIRE_UPDATE_GOLDEN:-}" = 1 ]; then sleep 2; capture 640x400; cp "$work/shot.png" "$golden"; fi
convert "$golden" "$work/golden-0.ppm" && cp "$work/golden-0.ppm" "$work/golden-1.ppm"
shot golden
scenario "$3/desktop.txt"
play_to continued
leave
[ "$(stat -c %s "$work/data/grimspire/saves/kept-game" 2>/dev/null)" = 2152 ] || fail "Exit kept no game"
echo "PASSED: the title as kept, the scenario's shots in the window, doubled on the full screen and at twice"\
     "the size; amber and the zoom kept for the next start; Exit kept the game and C brought it back"
