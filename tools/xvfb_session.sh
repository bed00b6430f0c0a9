# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the real program on a virtual X display.
# Needs $work (a scratch directory); sets $display, $xvfb_pid, $game_pid, $window.

# Starts Xvfb on a free display of its own choosing and makes it the DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    [ -s "$work/display" ] || return 1
    display=:$(head -n1 "$work/display")
    export DISPLAY=$display
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Starts the game with a settings file of its own and waits for its window,
# which then gets the keyboard.
start_game() {
    # No sound server: the game must say so once and play on silently.
    PULSE_SERVER=unix:$work/no-sound-server XDG_CONFIG_HOME=$work/config "$1" >"$work/game.log" 2>&1 &
    game_pid=$!
    window=
    for _ in $(seq 300); do  # up to 30 s: a busy machine starts it slowly
        window=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || return 1
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}
