# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a scenario of this folder into the real program, sourced by a smoke test that
# defines how its edition is given keys and looked at:
#   press KEY...    keys by the transcripts' names (UP, ENTER, F1, KP7, a letter ...)
#   shot NAME       waits until the program shows what grimspire-replay wrote for NAME
#   restart         the program ends and starts again (the scenario's `start`)
# Steps the real program cannot be given (carry, savefile, store, expect) are the replay's.
# The test's scratch folder is $work.
set -u
work=$(mktemp -d)
scenario() { mapfile -t steps < <(grep -Ev '^\s*(#|$|case )' "$1"); step=0; }
# Plays the steps up to and including `shot NAME`.
play_to() {
    local op rest
    while [ "$step" -lt "${#steps[@]}" ]; do
        read -r op rest <<<"${steps[step]}"
        step=$((step + 1))
        case $op in
            keys | host) press $rest ;;
            type) press $(sed 's/./& /g; s/   / SPACE /g' <<<"$rest") ENTER ;;
            start) restart ;;
            shot) shot "$rest" && [ "$rest" = "$1" ] && return 0 ;;
        esac
    done
    fail "no shot $1 in the scenario"
}
# Polls (no fixed waits: a loaded machine is slow) until CHECK succeeds, for up to 15 s (or tries / 20).
until_() { for _ in $(seq "${tries:-300}"); do "$@" && return 0; sleep 0.05; done; return 1; }
# Lines without trailing blanks or trailing empty lines, as the replay writes a screen.
trimmed() { sed 's/ *$//' | awk '{ l[NR] = $0; if ($0 != "") n = NR } END { for (i = 1; i <= n; i++) print l[i] }'; }
# The program's windows shown: its own, and a menu's drop-down while it stands.
shown() { xdotool search --onlyvisible --pid "$(xdotool getwindowpid "$window")" 2>/dev/null | wc -l; }
# A menu's command by its keys (X programs), the second once the drop-down is shown.
menu() {
    local before; before=$(shown)
    xdotool key "alt+$1"
    until_ eval '[ "$(shown)" -gt "$before" ]' || fail "alt+$1 showed no menu"
    xdotool key "$2"
}
# A key of the transcripts by its X keysym, as xdotool types it.
keysym() {
    case $1 in
        ENTER) echo Return ;; SPACE) echo space ;; BACK) echo BackSpace ;; ?) echo "${1,,}" ;;
        UP | DOWN | LEFT | RIGHT) local k=${1,,} && echo "${k^}" ;;
        *) echo "$1" ;;
    esac
}
