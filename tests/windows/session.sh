# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows tests: Wine in the shared prefix on a virtual X display of its
# own, a player with no settings and only the scenario's BEST saved, the pictures
# grimspire-replay draws of tests/scenarios/windows.txt in $work, and the game's window
# looked at and typed into as a player's.
#   . session.sh GRIMSPIRE_REPLAY SCENARIOS GLYPHS.gif WINEPREFIX
type -P Xvfb xdotool setxkbmap import compare wine wineserver winepath >/dev/null ||
    { echo "SKIPPED: needs xvfb, xdotool, imagemagick and wine"; exit 77; }
export WINEPREFIX=$4 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$2/play.sh"
# Ending the server with -k takes every program of this prefix with it.
trap 'wineserver -k 2>/dev/null; [ -n "${server_pid:-}" ] && wait $server_pid; kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; grep -sv '^ALSA' "$work/game.log"; exit 1; }
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/xvfb_session.sh"
"$1" --glyphs "$3" "$2/windows.txt" "$work" || fail "grimspire-replay could not draw the pictures"
start_xvfb || fail "Xvfb did not start"
# Wine's helpers keep the display they started with: a server of our own, which
# stays up between the commands so that no registry change waits on a restart.
# Wine's output goes to a log: its helpers outlive the command that started them.
wineserver -k 2>/dev/null; wineserver -w
wineserver -f -p >/dev/null 2>&1 & server_pid=$!
home=$(realpath -m "$WINEPREFIX/drive_c/users/$(id -un)")
saves="$home/Saved Games/Grimspire" settings='HKCU\Software\Grimspire'
wine reg delete "$settings" /f >/dev/null 2>&1
rm -rf "$saves" && mkdir -p "$saves" && cp "$work/BEST" "$saves/" || fail "no saves folder"

# Starts the game by a command of Wine's that ends when the game does, with its status,
# and waits for the game's window, which then gets the keyboard.
launch() {
    wine "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
    tries=600 until_ eval 'window=$(xdotool search --onlyvisible --name "^Grimspire\$" 2>/dev/null | head -1) && [ -n "$window" ]' ||
        fail "no window titled Grimspire appeared"
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}
# Exit from the Game menu ends the program at once, asking nothing, and well.
quit() {
    menu g x
    until_ eval '! kill -0 $game_pid 2>/dev/null' || fail "Exit $1 did not end the program"
    wait $game_pid || fail "the program exited with status $? after Exit $1"
}
press() { local k; for k; do xdotool key --delay 40 "$(keysym "$k")"; done; }
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
shows() { shoot "$2" && for phase in 0 1; do compare -metric AE "$work/shot.png" "$work/$1-$phase.ppm" null: 2>/dev/null && return; done; }
# Waits (a busy machine is slow) until the window shows the picture, the cursor
# either way; with a factor, the picture enlarged by it; in full screen (on this
# 1280 x 1024 screen) doubled and centred on black.
shot() {
    local factor=${2:-1} phase fill=()
    [ "$factor" = full ] && fill=(-background black -gravity center -extent 1280x1024)
    if [ "$factor" != 1 ]; then
        for phase in 0 1; do convert "$work/$1-$phase.ppm" -sample "${factor/full/2}00%" "${fill[@]}" "$work/$1x$factor-$phase.ppm"; done
        set -- "$1x$factor"
    fi
    until_ shows "$1" "$factor" && return
    cp "$work/shot.png" "/tmp/grimspire-smoke-$1.png"
    fail "the window does not show the $1 picture (what it showed: /tmp/grimspire-smoke-$1.png)"
}
