#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How much CPU the running game takes while it stands on the play screen (the
# ticks run, the cursor blinks, nobody types), measured over 20 s on a virtual
# X display. Prints the share of one core.
#   tools/measure/idle_cpu.sh [path/to/grimspire] [seconds]
set -eu
game=${1:-build/host/grimspire}
seconds=${2:-20}

for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (packages xvfb, xdotool, x11-utils)" >&2; exit 2; }
done
[ -x "$game" ] || { echo "no program at $game; build it first" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 141 190); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    xwininfo -display "$display" -root >/dev/null 2>&1 && break
    sleep 0.1
done
export DISPLAY=$display
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

XDG_CONFIG_HOME=$work/config "$game" >"$work/game.log" 2>&1 &
game_pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Grimspire$' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { cat "$work/game.log" >&2; echo "the game's window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key p   # a new game: the courtyard, the blinking prompt
sleep 2

# utime and stime are fields 14 and 15 of /proc/PID/stat, in clock ticks; the
# program's name (field 2) holds no blanks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(cpu_ticks)
start=$(date +%s.%N)
sleep "$seconds"
after=$(cpu_ticks)
end=$(date +%s.%N)
kill -0 "$game_pid" || { echo "the game ended during the measurement" >&2; exit 1; }

awk -v t="$((after - before))" -v hz="$hz" -v a="$start" -v b="$end" 'BEGIN {
    cpu = t / hz; wall = b - a;
    printf "CPU on the play screen: %.2f s in %.1f s = %.2f%% of one core\n", cpu, wall, 100 * cpu / wall
}'
