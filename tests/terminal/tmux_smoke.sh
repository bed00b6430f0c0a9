#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program in tmux panes of 80 x 25, 80 x 24 and 60 x 25: the grid read
# back from the pane against the core's own screens after the same seed and keys;
# the too-small notice down to 20 columns; the terminal exactly as it was after Ctrl-Q, ^C,
# ^Z and fg, SIGTERM, and a save past the file size limit; a hang-up keeps the game.
#   tmux_smoke.sh GRIMSPIRE_TERM TERMINAL_SCREENS
set -u
game=$1 screens=$2
type -P tmux >/dev/null || { echo "SKIPPED: needs tmux"; exit 77; }
work=$(mktemp -d)
server=
# A hung-up game may still be keeping itself into $work for a moment.
trap '[ -n "$server" ] && kill $server 2>/dev/null; for _ in $(seq 100); do rm -rf "$work" 2>/dev/null && break; sleep 0.1; done' EXIT
export LANG=C.UTF-8 GRIMSPIRE_SEED=5 XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data TERM=screen
T() { tmux -S "$work/tmux" "$@"; }
fail() { echo "FAILED: $*"; [ -n "${pane:-}" ] && T capture-pane -p -t "$pane"; exit 1; }

# The pane's lines without trailing blanks or trailing empty lines.
shown() { T capture-pane -p -t "$pane" | sed 's/ *$//' | awk '{ l[NR] = $0; if ($0 != "") n = NR } END { for (i = 1; i <= n; i++) print l[i] }'; }
# Polls (no fixed waits: a loaded machine is slow) until CHECK succeeds, for up to 15 s.
until_() { for _ in $(seq 300); do "$@" && return 0; sleep 0.05; done; return 1; }
is_screen() { [ "$(shown)" = "$expected" ]; }
shows() { shown | grep -qF -- "$1"; }
expect() {  # [--narrow] ROWS KEYS...: the pane shows the core's screen after these keys
    local narrow=; [ "$1" = --narrow ] && narrow=$1 && shift
    expected=$({ for ((i = 0; i < ${above:-0}; i++)); do echo; done; "$screens" $narrow "$GRIMSPIRE_SEED" "$@"; } |
        sed "s/^./${indent:-}&/" | awk '{ l[NR] = $0; if ($0 != "") n = NR } END { for (i = 1; i <= n; i++) print l[i] }')
    until_ is_screen || { diff <(echo "$expected") <(shown); fail "the pane does not show the screen after: $*"; }
}
modes() { [ "$(T display -p -t "$pane" '#{alternate_on} #{cursor_flag} #{keypad_flag}')" = "$1" ]; }
gone() { ! kill -0 "$(cat "$work/pid")" 2>/dev/null; }
# After the game: the pane's modes as before it, and stty's settings unchanged.
restored() {
    until_ gone || fail "the game did not end after $1"
    until_ modes "0 1 0" || fail "after $1 the pane's alternate screen, cursor, keypad are $(T display -p -t "$pane" '#{alternate_on} #{cursor_flag} #{keypad_flag}')"
    rm -f "$work/after"
    T send-keys -t "$pane" "stty -g > $work/after" Enter
    until_ test -s "$work/after" || fail "the shell did not come back after $1"
    cmp -s "$work/before" "$work/after" || fail "stty settings differ after $1: $(cat "$work/before") / $(cat "$work/after")"
}
kept=$work/data/grimspire/saves/kept-game
launch() {
    rm -f "$work/pid"
    T send-keys -t "$pane" "sh -c 'echo \$\$ > $work/pid; exec $game'" Enter
}
start() {  # the title as a new player sees it: no game kept
    rm -f "$kept"
    launch
    expect 25
}

T -f /dev/null new-session -d -s shell -x 80 -y 25 "bash --norc --noprofile -i" || fail "tmux did not start"
server=$(T display -p '#{pid}')
pane=shell
T send-keys -t "$pane" "stty -g > $work/before" Enter
until_ test -s "$work/before" || fail "the shell in the pane did not start"

start
T send-keys -t "$pane" p
expect 25 p
T send-keys -t "$pane" -l "look wall"
T send-keys -t "$pane" Enter
expect 25 p "LOOK WALL" Enter
T send-keys -t "$pane" Right
expect 25 p "LOOK WALL" Enter Right
T send-keys -t "$pane" F1
until_ shows "╔═════" || fail "F1 showed no About box"
T send-keys -t "$pane" x
expect 25 p "LOOK WALL" Enter Right
T send-keys -t "$pane" F6
until_ grep -sqx "scheme=green" "$work/config/grimspire/grimspire.conf" || fail "F6 kept no colour"
T send-keys -t "$pane" C-q
restored Ctrl-Q
test -s "$kept" || fail "Ctrl-Q kept no game"

# A hang-up (a closed pane, a dropped connection) keeps the game: C at the next
# title brings the man back where he stood.
start
T send-keys -t "$pane" p Right Right Right
expect 25 p Right Right Right
kill -HUP "$(cat "$work/pid")"
restored SIGHUP
launch
offers() { shown | tr -d " " | grep -q "C-tocontinueyourlastgame"; }
until_ offers || fail "the title does not offer the kept game"
T send-keys -t "$pane" C
expect 25 p Right Right Right
# L at the title lists the saves, the kept game first; Enter opens it.
T send-keys -t "$pane" F2 l
until_ eval 'shown | tr -d " " | grep -q ">Continue0"' || fail "L listed no kept game"
T send-keys -t "$pane" Enter
expect 25 p Right Right Right
T send-keys -t "$pane" C-q
restored Ctrl-Q

# The green chosen above comes back; ^C ends the game.
start
T capture-pane -e -p -t "$pane" | grep -qE $'\e\\[(92|38;5;46)m' || fail "the colour chosen last time is not green"
T send-keys -t "$pane" C-c
restored ^C

start
T send-keys -t "$pane" C-z
until_ modes "0 1 0" || fail "^Z did not give the terminal back"
rm -f "$work/after"
T send-keys -t "$pane" "stty -g > $work/after" Enter
until_ test -s "$work/after" && cmp -s "$work/before" "$work/after" || fail "stty settings differ while stopped"
T send-keys -t "$pane" fg Enter
expect 25
until_ modes "1 0 1" || fail "fg did not take the alternate screen, hide the cursor and set the keypad"
kill -TERM "$(cat "$work/pid")"
restored SIGTERM

# A file size limit smaller than a save: " Error Saving", and the game plays on.
rm -f "$work/pid"
T send-keys -t "$pane" "sh -c 'ulimit -f 1; echo \$\$ > $work/pid; exec $game'" Enter
expect 25
T send-keys -t "$pane" p
T send-keys -t "$pane" -l "save big"
T send-keys -t "$pane" Enter
until_ shows "E r r o r   S a v i n g" || fail "a save past the file size limit said nothing"
T send-keys -t "$pane" C-q
restored "a save past the file size limit"

# 24 rows: the title without its blank top row; in play "What???" moves up
# from row 24 into row 23, beside the About box. Silent without --bell.
pane=low
T new-session -d -s low -x 80 -y 24 "$game"
expect 24
T send-keys -t "$pane" p
expect 24 p
# F1 in the same write keeps "What???" standing: no clock runs under the About box.
T send-keys -t "$pane" x y z z y Enter F1
expect 24 p XYZZY Enter F1
[ "$(T display -p -t "$pane" '#{window_bell_flag}')" = 0 ] || fail "the bell rang without --bell"

# Too small: the notice, then the title once the terminal is large enough.
pane=small
T new-session -d -s small -x 60 -y 25 "$game"
until_ shows "Grimspire needs 80 x 24; this terminal is 60 x 25." || fail "no notice on 60 x 25"
until_ shows "Started with --narrow it would fit." || fail "the notice on 60 x 25 does not name --narrow"
# Down to 20 columns the notice is all there, broken between words.
T resize-window -t small -x 20 -y 12
notice="Grimspire needs 80 x 24; this terminal is 20 x 12. The game waits until it is larger. Ctrl-Q ends it."
until_ eval '[ "$(shown | paste -sd " ")" = "$notice" ]' || fail "the notice on 20 x 12 is not whole"
T resize-window -t small -x 80 -y 25
expect 25
# Larger: the grid in the middle.
T resize-window -t small -x 100 -y 27
above=1 indent="          " expect 25

# One column a cell.
pane=narrow
T new-session -d -s narrow -x 40 -y 24 "$game --narrow --bell"
expect --narrow 24
T send-keys -t "$pane" p
T send-keys -t "$pane" -l xyzzy
T send-keys -t "$pane" Enter
until_ test "$(T display -p -t "$pane" '#{window_bell_flag}')" = 1 || fail "What??? rang no bell with --bell"

T kill-server
echo "PASSED: title, P, a reply, a step and About against the core; 80 x 24, 60 x 25, 100 x 27, narrow; the bell; the terminal restored"
