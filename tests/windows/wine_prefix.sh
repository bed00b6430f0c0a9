#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Wine prefix the Windows tests share, under the build folder:
#   wine_prefix.sh start PREFIX   makes it once, then keeps its wineserver running
#   wine_prefix.sh stop PREFIX    ends that wineserver
set -eu
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
type -P wine wineserver >/dev/null || { echo "SKIPPED: needs wine"; exit 77; }
[ "$1" = stop ] && { wineserver -k 2>/dev/null || true; exit 0; }
if [ ! -f "$WINEPREFIX/.made" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    env -u DISPLAY wineboot --init >"$WINEPREFIX.log" 2>&1
    # Without a window manager Wine waits two seconds for each window to close
    # unless it manages the windows itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$WINEPREFIX.log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.made"
fi
# A wineserver that stays, with Wine's own helper processes started here, makes
# each later start take a tenth of a second. Their output goes to the log, never
# to a test's.
wineserver -p </dev/null >>"$WINEPREFIX.log" 2>&1 || true  # one may be running already
env -u DISPLAY wine cmd /c exit </dev/null >>"$WINEPREFIX.log" 2>&1
echo "Wine prefix ready: $WINEPREFIX"
