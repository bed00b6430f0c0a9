#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program in tmux panes of 80 x 25, 80 x 24, 60 x 25 and 40 x 24: the
# scenarios of tests/scenarios typed in, the pane read back against what
# grimspire-replay makes of them; the too-small notice down to 20 columns; the
# terminal's settings, read from outside the pane, as they were after Ctrl-Q, ^C, ^Z,
# SIGTERM and a save past the file size limit; a hang-up keeps the game.
#   tmux_smoke.sh GRIMSPIRE_TERM GRIMSPIRE_REPLAY SCENARIOS
game=$1 replay=$2 scenarios=$3
type -P tmux >/dev/null || { echo "SKIPPED: needs tmux"; exit 77; }
. "$scenarios/play.sh"
server=
# A hung-up game may still be keeping itself into $work for a moment.
trap '[ -n "$server" ] && kill $server 2>/dev/null; for _ in $(seq 100); do rm -rf "$work" 2>/dev/null && break; sleep 0.1; done' EXIT
export LANG=C.UTF-8 GRIMSPIRE_SEED=5 XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data TERM=screen
T() { tmux -S "$work/tmux" "$@"; }
fail() { echo "FAILED: $*"; [ -n "${pane:-}" ] && T capture-pane -p -t "$pane"; exit 1; }
"$replay" "$scenarios/terminal.txt" "$work/25" && "$replay" --rows 24 "$scenarios/terminal-what.txt" "$work/24" &&
    "$replay" --narrow --rows 24 "$scenarios/terminal.txt" "$work/narrow" || fail "grimspire-replay failed"

shown() { T capture-pane -p -t "$pane" | trimmed; }
shows() { shown | tr -d "${2:-}" | grep -qF -- "$1"; }
is_screen() { local now; now=$(shown); [ "$now" = "$expected" ] || [ "$now" = "$expected1" ]; }
# The keys since the last shot go in one write, as a fast typist's would.
pending=()
press() {
    local k
    for k; do [ "$k" = ENTER ] && pending+=(Enter) || pending+=("$(keysym "$k")"); done  # tmux has no Return
}
# The screen a shot of the replay's, the cursor off (0) or on (1), lifted and indented as the globals say.
screen() { { for ((i = 0; i < ${above:-0}; i++)); do echo; done; sed "s/^./${indent:-}&/" "$1-$2.txt"; } | trimmed; }
shot() {  # NAME [DIR]: the pane shows that screen, the cursor either way
    [ ${#pending[@]} -gt 0 ] && T send-keys -t "$pane" "${pending[@]}"
    pending=()
    expected=$(screen "${2:-$shots}/$1" 0) expected1=$(screen "${2:-$shots}/$1" 1)
    until_ is_screen || { diff <(echo "$expected") <(shown); fail "the pane does not show the $1 screen"; }
}
modes() { [ "$(T display -p -t "$pane" '#{alternate_on} #{cursor_flag} #{keypad_flag}')" = "$1" ]; }
settings() { stty -g -F "$(T display -p -t "$pane" '#{pane_tty}')"; }
gone() { ! kill -0 "$(cat "$work/pid")" 2>/dev/null; }
# A pane where nothing but the game touches the terminal: a parent that waits for Enter,
# runs the game as the terminal's foreground job and waits through its stops; the
# settings are read before and after from outside.
cat >"$work/run.py" <<PY
import os, signal, time
os.read(0, 1)
pid = os.fork()
if pid == 0:
    os.setpgid(0, 0)
    signal.signal(signal.SIGTTOU, signal.SIG_IGN)
    os.tcsetpgrp(0, os.getpid())
    signal.signal(signal.SIGTTOU, signal.SIG_DFL)
    open("$work/pid", "w").write(str(os.getpid()))
    os.execv("$game", ["$game"])
while os.waitid(os.P_PID, pid, os.WEXITED | os.WSTOPPED).si_code == os.CLD_STOPPED:
    pass
time.sleep(3600)
PY
kept=$work/data/grimspire/saves/kept-game
launch() {  # [SHELL COMMANDS;] the game in a pane of its own
    rm -f "$work/pid"
    T new-window -t shell -n run "${1:-}python3 $work/run.py"
    pane=shell:run
    until_ settings >/dev/null || fail "no terminal for the pane"
    before=$(settings)
    T send-keys -t "$pane" Enter
}
start() {  # the title as a new player sees it: no game kept
    rm -f "$kept"
    launch "$@"
    scenario "$scenarios/terminal.txt"
    shots=$work/25
    play_to title
}
# Ends the game by a key (C-q, C-c) or a signal (HUP, TERM): the terminal must be as it was.
ends() {
    case $1 in C-*) T send-keys -t "$pane" "$1" ;; *) kill -"$1" "$(cat "$work/pid")" ;; esac
    until_ gone || fail "the game did not end after $1"
    until_ modes "0 1 0" || fail "after $1 the pane's alternate screen, cursor, keypad are $(T display -p -t "$pane" '#{alternate_on} #{cursor_flag} #{keypad_flag}')"
    [ "$(settings)" = "$before" ] || fail "the terminal's settings differ after $1: $before / $(settings)"
    T kill-window -t "$pane"
}
alone() { pane=$1; T new-session -d -s "$1" -x "$2" -y "$3" "$game ${*:4}"; }  # NAME COLUMNS ROWS [OPTIONS]

T -f /dev/null new-session -d -s shell -x 80 -y 25 "sleep 3600" || fail "tmux did not start"
server=$(T display -p '#{pid}')
start
play_to walk6
T send-keys -t "$pane" F6
until_ grep -sqx "scheme=green" "$work/config/grimspire/grimspire.conf" || fail "F6 kept no colour"
ends C-q
test -s "$kept" || fail "Ctrl-Q kept no game"

# A hang-up (a closed pane, a dropped connection) keeps the game: C at the next
# title brings the man back where he stood.
start
play_to step
ends HUP
launch
until_ shows "C-tocontinueyourlastgame" " " || fail "the title does not offer the kept game"
T send-keys -t "$pane" C
shot step
# L at the title lists the saves, the kept game first; Enter opens it.
T send-keys -t "$pane" F2 l
until_ shows ">Continue0" " " || fail "L listed no kept game"
T send-keys -t "$pane" Enter
shot step
ends C-q

# The green chosen above comes back; ^C ends the game.
start
T capture-pane -e -p -t "$pane" | grep -qE $'\e\\[(92|38;5;46)m' || fail "the colour chosen last time is not green"
ends C-c

start
T send-keys -t "$pane" C-z
until_ modes "0 1 0" || fail "^Z did not give the terminal back"
until_ eval '[ "$(settings)" = "$before" ]' || fail "the terminal's settings differ while stopped: $before / $(settings)"
kill -CONT "$(cat "$work/pid")"
shot title
until_ modes "1 0 1" || fail "going on did not take the alternate screen, hide the cursor and set the keypad"
ends TERM

# A file size limit smaller than a save: " Error Saving", and the game plays on.
start "ulimit -f 1; "
T send-keys -t "$pane" p "save big" Enter  # a word that names no key goes as it is
until_ shows "E r r o r   S a v i n g" || fail "a save past the file size limit said nothing"
ends C-q

# 24 rows: the title without its blank top row; "What???" beside the About box. Silent without --bell.
alone low 80 24
scenario "$scenarios/terminal-what.txt"
shots=$work/24
play_to what
[ "$(T display -p -t "$pane" '#{window_bell_flag}')" = 0 ] || fail "the bell rang without --bell"

# Too small: the notice, then the title once the terminal is large enough.
alone small 60 25
until_ shows "Grimspire needs 80 x 24; this terminal is 60 x 25." || fail "no notice on 60 x 25"
until_ shows "Started with --narrow it would fit." || fail "the notice on 60 x 25 does not name --narrow"
# Down to 20 columns the notice is all there, broken between words.
T resize-window -t small -x 20 -y 12
notice="Grimspire needs 80 x 24; this terminal is 20 x 12. The game waits until it is larger. Ctrl-Q ends it."
until_ eval '[ "$(shown | paste -sd " ")" = "$notice" ]' || fail "the notice on 20 x 12 is not whole"
T resize-window -t small -x 80 -y 25
shot title "$work/25"
# Larger: the grid in the middle.
T resize-window -t small -x 100 -y 27
above=1 indent="          " shot title "$work/25"

# One column a cell.
alone narrow 40 24 --narrow --bell
shot title "$work/narrow"
T send-keys -t "$pane" p xyzzy Enter
until_ test "$(T display -p -t "$pane" '#{window_bell_flag}')" = 1 || fail "What??? rang no bell with --bell"

T kill-server
echo "PASSED: the terminal scenario (a reply, a step, About, the keypad's diagonals) against the replay;"\
     "80 x 24, 60 x 25, 100 x 27, narrow; the bell; the terminal's settings restored; the kept game"
