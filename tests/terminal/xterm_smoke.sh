#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program in a real xterm on a virtual X screen, keys typed by xdotool
# as a keyboard types them: the keypad's own keys walk the man diagonally with
# Num Lock on and off (the terminal scenario of tests/scenarios, against what
# grimspire-replay makes of it); a Latin-1 locale gets no byte it cannot show and the
# room still reads; NO_COLOR=1 gets no colour; TERM=dumb and bad options are refused.
#   xterm_smoke.sh GRIMSPIRE_TERM GRIMSPIRE_REPLAY SCENARIOS
game=$1 replay=$2 scenarios=$3
type -P Xvfb xterm xdotool xset localedef script >/dev/null ||
    { echo "SKIPPED: needs Xvfb, xterm, xdotool, xset, localedef and script"; exit 77; }
. "$scenarios/play.sh"
xt=
trap '[ -n "$xt" ] && kill $xt 2>/dev/null; kill ${xvfb_pid:-} 2>/dev/null; rm -rf "$work"' EXIT
export GRIMSPIRE_SEED=5 XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data LANG=C.UTF-8
fail() { echo "FAILED: $*"; [ -s "$work/shown" ] && cat "$work/shown"; exit 1; }
. "$(dirname "$0")/../../tools/xvfb_session.sh"
"$replay" "$scenarios/terminal.txt" "$work/shots" || fail "grimspire-replay failed"

# Refused before the terminal is touched, one line each.
refused() { local out; out=$(env "${@:2}" "$game" ${1:+"$1"} 2>&1 </dev/null); [ $? -ne 0 ] && [ "$(wc -l <<<"$out")" = 1 ] || fail "not refused in one line: $1 ${*:2}: $out"; }
refused "" TERM=dumb
refused "" TERM=nonesuch
refused --man=ab
refused --save-dir
refused --frobnicate
"$game" --version | grep -qx "grimspire-term [0-9.]*" || fail "--version"
"$game" -h | grep -q -- "--narrow" || fail "-h"

start_xvfb || fail "Xvfb did not start"

# A fresh xterm of 80 x 25 running the game under ENV; xterm logs what the game
# writes, script what xterm sends it, and F12 makes xterm write its screen out.
run() {
    [ -n "$xt" ] && kill $xt && wait $xt 2>/dev/null
    rm -f "$work"/screen* "$work/in" "$work/out"
    env "$@" xterm -geometry 80x25 -fa Monospace -fs 10 -l -lf "$work/out" -xrm "XTerm*printFileImmediate: $work/screen" \
        -xrm 'XTerm*printAttributes: 0' -xrm 'XTerm*VT100.translations: #override <Key>F12: print-immediate()' \
        -e script -q -f -O /dev/null -I "$work/in" -c "$game" &
    xt=$!
    until_ xdotool windowfocus --sync "$(xdotool search --sync --onlyvisible --pid $xt | head -1)" 2>/dev/null ||
        fail "no xterm window to type into"
}
# The screen xterm shows, as lines without trailing blanks or trailing empty lines.
dump() {
    rm -f "$work"/screen*
    xdotool key F12
    until_ eval 'test "$(cat "$work"/screen* 2>/dev/null | wc -l)" = 25' || return 1
    cat "$work"/screen* | trimmed >"$work/shown"
}
is_screen() { dump && { [ "$(cat "$work/shown")" = "$(cat "$work/shots/$1-0.txt")" ] || [ "$(cat "$work/shown")" = "$(cat "$work/shots/$1-1.txt")" ]; }; }
shot() {  # NAME: xterm shows that screen of the scenario, the cursor either way
    expected=$(cat "$work/shots/$1-0.txt")
    until_ is_screen "$1" || { diff <(echo "$expected") "$work/shown"; fail "xterm does not show the $1 screen"; }
}
numlock() { xset q | grep -q "Num Lock: *$1" || { xdotool key Num_Lock; until_ eval 'xset q | grep -q "Num Lock: *$1"'; }; }
# The keypad's 7 and 3 as the keys given in kp.
press() {
    local k
    for k; do
        case $k in KP7) k=${kp[0]} ;; KP3) k=${kp[1]} ;; *) k=$(keysym "$k") ;; esac
        xdotool key "$k"
    done
}

run
scenario "$scenarios/terminal.txt"
play_to closed
# The same keys the desktop walks with, as xterm sends them: Num Lock off, the
# keypad's 7 and 3 are Home and PgDn, as are the keys of those names; on, the digits.
numlock off
for keys in "KP_Home KP_Next walk1" "Home Next walk2" "KP_Home KP_Next walk3" "Home Next walk4"; do
    read -r -a kp <<<"$keys"
    play_to "${kp[2]}"
done
numlock on
kp=(KP_7 KP_3)
play_to walk6
[ "$(tail -c 2 "$work/in")" = 73 ] || fail "Num Lock on sent no digits: $(tail -c 20 "$work/in" | od -c)"
grep -qa $'\e\\[38;5;' "$work/out" || fail "a 16-colour xterm that tells its palette got no 256 colours"
[ "$(grep -ao $'\e\\[2J' "$work/out" | wc -l)" -ge 2 ] || fail "the title was not cleared away"

# Latin-1: the locale's own characters and the terminal's line-drawing set.
mkdir "$work/locale"
localedef -i en_US -f ISO-8859-1 "$work/locale/en_US.ISO-8859-1" 2>/dev/null || fail "no Latin-1 locale could be made"
run LOCPATH="$work/locale" LANG=en_US.ISO-8859-1
until_ eval 'dump && grep -q "P   -   t o   p l a y" "$work/shown"' || fail "no title in Latin-1"
xdotool key p
until_ eval 'dump && grep -q "C a s t l e" "$work/shown"' || fail "the room does not read in Latin-1"
grep -qa "not UTF-8" "$work/out" || fail "nothing said how to get the full picture"
! LC_ALL=C grep -qaP '[\x80-\x9f]|[\xc2-\xef][\x80-\xbf]' "$work/out" || fail "bytes Latin-1 cannot show"
grep -qa $'\x0eqq\x0f' "$work/out" || fail "no lines from the line-drawing set"

# NO_COLOR: the picture, and no colour sequence anywhere.
run NO_COLOR=1
scenario "$scenarios/terminal.txt"
play_to court
! grep -qaP '\e\[([0-9]*;)*(3[0-9]|4[0-9]|9[0-7]|10[0-7])[;m]' "$work/out" || fail "a colour sequence despite NO_COLOR"
echo "PASSED: keypad 7 3 (Num Lock on), Home PgDn (off) walk; Latin-1; NO_COLOR; TERM=dumb and bad options refused"
