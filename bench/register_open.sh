#!/usr/bin/env bash
# The teacher's window on a register of 100,000 matches, from process start to the window on
# screen with its table and chart, against a bare Qt window in the same run under Xvfb: medians
# of 15 rounds, the programs alternating.
# Usage: bench/register_open.sh [build folder]   (needs xvfb, xdotool; build with ./quickstart test)
set -euo pipefail
build=${1:-build/test}
work=$(mktemp -d)
display=78
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=:$display XDG_CONFIG_HOME=$work XDG_DATA_HOME=$work
Xvfb "$DISPLAY" -noreset -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
QT_QPA_PLATFORM=offscreen "$build/bin/register_open" "$work/registro.csv" 2>/dev/null

now_ms() { date +%s%3N; }
time_to_window() { # title, program and arguments: milliseconds to a visible window
    local title=$1 start pid
    shift
    start=$(now_ms)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do sleep 0.005; done
    echo $(($(now_ms) - start))
    kill "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
}
bare=() teachers=()
for round in $(seq 15); do
    bare+=("$(time_to_window '^Bare$' "$build/bin/bare_window")")
    teachers+=("$(time_to_window '^Registro della classe' "$build/bin/zenobra" --registro "$work/registro.csv")")
done
median() { printf '%s\n' "$@" | sort -n | sed -n 8p; }
echo "process start to the window on screen, medians of 15: bare window $(median "${bare[@]}") ms," \
    "the teacher's window on 100,000 matches $(median "${teachers[@]}") ms"
