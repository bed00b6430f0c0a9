#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display, types keys into it, captures the
# window and looks for the title picture in it, then ends it from the menu.
#   xvfb_smoke.sh GRIMSPIRE FIND_TITLE_TOOL
set -u
game=$1
find_title=$2
. "$(dirname "$0")/../../tools/xvfb_session.sh"

for tool in Xvfb xdotool xwininfo import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (needs the packages xvfb, xdotool, x11-utils and imagemagick)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

start_xvfb || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
start_game "$game" || { cat "$work/game.log"; fail "no window titled Grimspire appeared"; }
sleep 0.5

capture() {
    import -display "$display" -window "$window" "$work/$1.png" || fail "could not capture the window"
}
# The picture is looked for anywhere in the window (the menu bar stands above it).
has_title() {
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config "$find_title" "$work/$1.png"
}

# Waits (a busy machine may be slow) until the window shows the title picture, or
# (with "not") until it shows something else.
expect_title() {
    local want=$1 what=$2
    for attempt in $(seq 40); do
        capture "$what"
        if has_title "$what" >"$work/$what.txt"; then found=yes; else found=no; fi
        [ "$found" = "$want" ] && { cat "$work/$what.txt"; return 0; }
        sleep 0.25
    done
    cat "$work/$what.txt"
    return 1
}

geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window: $geometry"
expect_title yes first || fail "the title picture is not in the window"

# I shows the instructions, F2 (New Game) brings the title back.
xdotool key i
expect_title no instructions || fail "key I did not reach the game"
xdotool key F2
expect_title yes again || fail "F2 did not bring the title back"

# Full screen: on this 1280 x 1024 display the picture is doubled and centred,
# at 0,112 (only the menu bar and the cursor are hidden; nothing else is drawn).
xdotool key alt+Return
for attempt in $(seq 40); do
    import -display "$display" -window root "$work/full.png" || fail "could not capture the screen"
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config "$find_title" --scale 2 "$work/full.png" >"$work/full.txt" &&
        break
    sleep 0.25
done
cat "$work/full.txt"
grep -q "at 0,112 in a 1280x1024" "$work/full.txt" || fail "full screen does not show the doubled picture centred"
xdotool key alt+Return
expect_title yes windowed || fail "leaving full screen did not bring the window back"

# Game, then Exit, by the menu's own keys (again if a slow machine missed them).
for attempt in 1 2 3; do
    xdotool key alt+g
    sleep 1
    xdotool key x
    for _ in $(seq 50); do
        kill -0 "$game_pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 "$game_pid" 2>/dev/null; then
    fail "the program did not end from the menu"
fi
wait "$game_pid"
status=$?
game_pid=
[ "$status" = "0" ] || { cat "$work/game.log"; fail "the program exited with $status"; }
echo "PASSED: title picture found, keys reached the game, full screen doubled it, Exit ended it with status 0"
