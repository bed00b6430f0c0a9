#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the figures of docs/performance.md on this machine: start-up to the
# first frame, key press to picture and resident memory (frame_timer), idle CPU
# (idle_cpu.sh) and DrawScreen against a plain copy (renderer_benchmark).
#   tools/measure/measure.sh [BUILD_DIR] [STARTUP_RUNS] [KEY_SAMPLES]
# Needs the packages xvfb, xdotool, x11-utils, libx11-dev, libxtst-dev and g++.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
runs=${2:-20}
samples=${3:-100}
game=$build/hosts/qt/grimspire
benchmark=$build/tools/measure/renderer_benchmark

[ -x "$game" ] || { echo "no program at $game; build it first" >&2; exit 2; }
for tool in Xvfb g++; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "== the machine"
echo "$(nproc) cores: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)"
echo "memory: $(free -h | awk '/^Mem:/ {print $2}'), $(uname -sr), $(. /etc/os-release && echo "$PRETTY_NAME")"
echo "Qt: $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null || echo unknown)," \
    "Xvfb: $(dpkg-query -W -f '${Version}' xvfb 2>/dev/null || echo unknown)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

g++ -O2 -std=c++20 "$here/frame_timer.cpp" -lX11 -lXtst -o "$work/frame_timer"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(head -n1 "$work/display")
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# A best-score file of its own, and the game's chatter kept out of the figures.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$work/runtime" && chmod 700 "$work/runtime" && export XDG_RUNTIME_DIR=$work/runtime

echo "== start-up to the first frame ($runs runs)"
"$work/frame_timer" startup "$runs" "$game" 2>"$work/startup.err" | tail -n3
echo "== key press to picture ($samples keys of each kind), resident memory"
"$work/frame_timer" keys "$samples" "$game" 2>"$work/keys.err"

echo "== idle CPU on the play screen"
"$here/idle_cpu.sh" "$game" 20

echo "== DrawScreen against a plain copy"
if [ -x "$benchmark" ]; then
    # Interleaved repetitions share the machine's other work out fairly between the two.
    QT_QPA_PLATFORM=offscreen "$benchmark" --benchmark_repetitions=20 --benchmark_min_time=0.2 \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true 2>/dev/null
else
    echo "not built: $benchmark (package libbenchmark-dev)"
fi
