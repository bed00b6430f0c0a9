#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How much CPU the running game takes while it stands on the play screen (the
# ticks run, the cursor blinks, nobody types), measured over 20 s on a virtual
# X display. Prints the share of one core.
#   tools/measure/idle_cpu.sh [path/to/grimspire] [seconds]
set -eu
game=${1:-build/hosts/qt/grimspire}
seconds=${2:-20}
. "$(dirname "$0")/../xvfb_session.sh"

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

start_xvfb || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
start_game "$game" || { cat "$work/game.log" >&2; echo "the game's window did not appear" >&2; exit 1; }
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
