#!/usr/bin/env bash
# Whole-program footprint against a bare Qt window and a bare Qt prompt, in one run under Xvfb:
#   time from process start to the first window on screen (Zenobra: its name prompt, against a
#   bare input box with the same prompt),
#   idle CPU over 60 s of play with both timers running, and peak resident memory.
# Usage: bench/footprint.sh [build folder]   (needs xvfb, xdotool; build with ./quickstart test)
set -euo pipefail
build=${1:-build/test}
seconds=${IDLE_SECONDS:-60}
command -v xdotool >/dev/null && command -v Xvfb >/dev/null || {
    echo "footprint: needs the packages xvfb and xdotool" >&2
    exit 1
}
export XDG_DATA_HOME=$(mktemp -d)
log=$XDG_DATA_HOME/programs.log
display=77
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -noreset -screen 0 1024x900x24 >"$XDG_DATA_HOME/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1

now_ms() { date +%s%3N; }
peak_kib() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Milliseconds from start to a visible window with this title.
time_to_window() { # title, program
    local start end pid
    start=$(now_ms)
    "$2" >>"$log" 2>&1 &
    pid=$!
    # xdotool's own --sync polls only twice a second: poll finer.
    until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        sleep 0.005
        if [ $(($(now_ms) - start)) -gt 10000 ]; then
            echo "footprint: no window '$1' after 10 s; see $log" >&2
            exit 1
        fi
    done
    end=$(now_ms)
    echo "$pid $((end - start))"
}

rounds=15
bare_times=()
prompt_times=()
game_times=()
for round in $(seq "$rounds"); do
    read -r bare_pid bare_ms < <(time_to_window '^Bare$' "$build/bin/bare_window")
    sleep 1
    bare_kib=$(peak_kib "$bare_pid")
    kill "$bare_pid"
    read -r prompt_pid prompt_ms < <(time_to_window '^Zenobra$' "$build/bin/bare_prompt")
    kill "$prompt_pid"
    while kill -0 "$prompt_pid" 2>/dev/null; do sleep 0.05; done
    read -r game_pid game_ms < <(time_to_window '^Zenobra$' "$build/bin/zenobra")
    echo "round $round: bare window ${bare_ms} ms, ${bare_kib} KiB; bare prompt ${prompt_ms} ms;" \
        "zenobra name prompt ${game_ms} ms"
    bare_times+=("$bare_ms")
    prompt_times+=("$prompt_ms")
    game_times+=("$game_ms")
    if [ "$round" -lt "$rounds" ]; then
        kill "$game_pid"
        while kill -0 "$game_pid" 2>/dev/null; do sleep 0.05; done
    fi
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
bare_median=$(median "${bare_times[@]}")
prompt_median=$(median "${prompt_times[@]}")
game_median=$(median "${game_times[@]}")
awk -v b="$bare_median" -v p="$prompt_median" -v g="$game_median" 'BEGIN {
    printf "start-up medians: bare window %d ms, bare prompt %d ms, zenobra name prompt %d ms", b, p, g
    printf " (%.2f x the bare prompt)\n", g / p }'

# Play: type a name, close the greeting, click the background so both timers run.
xdotool type --delay 20 Anna
xdotool key Return
sleep 0.5
xdotool key Return
sleep 0.5
window=$(xdotool search --onlyvisible --name '^Frulvane$' | head -n 1)
xdotool mousemove --window "$window" 590 640 click 1
sleep 2
ticks_before=$(cpu_ticks "$game_pid")
sleep "$seconds"
ticks_after=$(cpu_ticks "$game_pid")
hz=$(getconf CLK_TCK)
game_kib=$(peak_kib "$game_pid")
kill "$game_pid"
awk -v t=$((ticks_after - ticks_before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "zenobra idle CPU over %d s of play: %.2f %% of one core\n", s, 100 * t / hz / s }'
echo "zenobra peak resident memory: ${game_kib} KiB (bare window: ${bare_kib} KiB)"
