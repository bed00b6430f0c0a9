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
set -u
exe=$1
type -P Xvfb xdotool setxkbmap import compare wine wineserver >/dev/null ||
    { echo "SKIPPED: needs xvfb, xdotool, imagemagick and wine"; exit 77; }
export WINEPREFIX=$5 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trap '[ -n "${game_pid:-}" ] && kill $game_pid 2>/dev/null; wineserver -k 2>/dev/null; kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; cat "$work/game.log" 2>/dev/null | grep -v '^ALSA'; exit 1; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"
"$2" --glyphs "$4" "$3/windows.txt" "$work" || fail "grimspire-replay could not draw the pictures"
. "$3/play.sh"
start_xvfb || fail "Xvfb did not start"
# Wine's helper processes keep the display they were started with: a session of our own.
wineserver -k 2>/dev/null

# A player of our own: no settings, no best score, no saves.
wine reg delete 'HKCU\Software\Grimspire' /f >/dev/null 2>&1
saves="$WINEPREFIX/drive_c/users/$(id -un)/Saved Games/Grimspire"
rm -rf "$saves" && mkdir -p "$saves" && cp "$work/BEST" "$saves/" || fail "no saves folder"

launch() {
    local start=$(date +%s%N)
    wine "$exe" >"$work/game.log" 2>&1 &
    game_pid=$!
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.05
    done
    [ -n "$window" ] || fail "no window titled Grimspire appeared"
    echo "window shown $(( ($(date +%s%N) - start) / 1000000 )) ms after start"
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}
# The picture, at the factor given, centred in the client area (or the whole
# window in full screen). Wine draws the frame itself, as wide at the sides as
# below; the first picture, at 1x, tells how wide, and how high the caption and
# menu bar are. What lies off the screen is not captured.
shoot() {
    import -display "$display" -window "$window" "$work/raw.png" 2>/dev/null || return 1
    [ "$1" = full ] && { cp "$work/raw.png" "$work/shot.png"; return; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [ -z "${border:-}" ]; then
        border=$(( (WIDTH - 640) / 2 ))
        top=$(( HEIGHT - border - 400 ))
    fi
    local cw=$(( WIDTH - 2 * border )) ch=$(( HEIGHT - top - border ))
    local pw=$(( 640 * $1 )) ph=$(( 400 * $1 ))
    local x=$(( border + (cw - pw) / 2 - (X < 0 ? -X : 0) )) y=$(( top + (ch - ph) / 2 - (Y < 0 ? -Y : 0) ))
    convert "$work/raw.png" -crop "${pw}x$ph+$x+$y" +repage "$work/shot.png"
}
# Waits (a busy machine is slow) until the window shows the picture, the cursor
# either way; with a factor, the picture enlarged by it.
shot() {
    local factor=${2:-1}
    if [ "$factor" != 1 ] && [ "$factor" != full ]; then
        for phase in 0 1; do convert "$work/$1-$phase.ppm" -sample "${factor}00%" "$work/$1x$factor-$phase.ppm"; done
        set -- "$1x$factor"
    fi
    for _ in $(seq 60); do
        if shoot "$factor"; then
            for phase in 0 1; do
                compare -metric AE "$work/shot.png" "$work/$1-$phase.ppm" null: 2>/dev/null && return 0
            done
        fi
        sleep 0.25
    done
    cp "$work/shot.png" "/tmp/grimspire-smoke-$1.png"
    fail "the window does not show the $1 picture (what it showed: /tmp/grimspire-smoke-$1.png)"
}
# Polls until CHECK succeeds, for up to 15 s.
until_() { for _ in $(seq 300); do "$@" && return 0; sleep 0.05; done; return 1; }
ended() { until_ eval '! kill -0 $game_pid 2>/dev/null'; }
# The program's windows shown: its own, and a menu's drop-down or a question while they stand
# (with a name: the question's caption, never a drop-down).
shown() { xdotool search --onlyvisible --pid "$game_pid" --name "${1:-}" 2>/dev/null | wc -l; }
# A menu's command by its keys, the second once the drop-down is shown.
menu() {
    local before; before=$(shown)
    xdotool key "alt+$1"
    until_ eval '[ "$(shown)" -gt "$before" ]' || fail "alt+$1 showed no menu"
    xdotool key "$2"
}
press() {
    local k
    for k; do
        case $k in ENTER) k=Return ;; SPACE) k=space ;; ?) k=$(tr A-Z a-z <<<"$k") ;; esac
        xdotool key --delay 40 "$k"
    done
}
setting() { wine reg query 'HKCU\Software\Grimspire' /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }

# Exit at the end of the first run; the registry holds what it kept, and the best
# score's holder is lengthened there for the second. A French player: letters are
# taken as the layout prints them, as on Linux.
restart() {
    menu g x
    ended || fail "Exit on the title screen did not end the program"
    wait $game_pid || fail "the program exited with status $?"
    game_pid=
    [ "$(setting HighScore)" = 0x32 ] && [ "$(setting HighScoreName)" = WINE ] && [ "$(setting Scheme)" = 0x72 ] ||
        fail "the registry holds no best score of 50 by WINE in amber: $(wine reg query 'HKCU\Software\Grimspire' 2>&1)"
    wine reg add 'HKCU\Software\Grimspire' /v HighScoreName /d WINEWINEWINEWINEWINE /f >/dev/null 2>&1 ||
        fail "could not lengthen the best score's name"
    setxkbmap -display "$display" fr || fail "setxkbmap could not switch the layout"
    launch
}
scenario "$3/windows.txt"
launch
play_to saved
[ "$(stat -c %s "$saves/TWICE")" = 2152 ] || fail "the second SAVE TWICE left no whole file in Saved Games"
play_to amber
# On this 1280 x 1024 screen the full screen shows the picture doubled, centred on black.
for phase in 0 1; do
    convert "$work/amber-$phase.ppm" -sample 200% -background black -gravity center -extent 1280x1024 \
        "$work/full-$phase.ppm"
done
xdotool key alt+Return
shot full full
xdotool key alt+Return
shot amber
xdotool key F3
until_ eval '[ "$(xdotool getwindowname "$window")" = "Grimspire - Paused" ]' || fail "F3 did not pause: $(xdotool getwindowname "$window")"
xdotool key p  # only resumes
until_ eval '[ "$(xdotool getwindowname "$window")" = Grimspire ]' || fail "P did not resume"
shot amber
# Maximised from the window menu: twice the picture, centred; Actual Size gives back 1x.
menu space x
shot amber 2
menu v c
shot amber
play_to best
# Exit in the middle of a game asks nothing and keeps the game; C at the next title brings it back.
menu g x
ended || fail "Exit did not end the program at once"
wait $game_pid || fail "the program exited with status $?"
game_pid=
[ "$(stat -c %s "$saves/kept-game" 2>/dev/null)" = 2152 ] || fail "Exit kept no game in Saved Games"
launch
xdotool key c
shot best
menu g x
ended || fail "Exit did not end the program the second time"
game_pid=
echo "PASSED: the Windows scenario's shots pixel-exact; best score and amber kept in the registry;"
echo "full screen and maximised doubled; a key only resumes from pause; AZERTY letters as printed; Exit kept the game"
