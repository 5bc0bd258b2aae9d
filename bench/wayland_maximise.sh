#!/usr/bin/env bash
# Clicks the maximise button of Qt's own Wayland title bar under a real compositor (weston, on
# its X11 backend inside Xvfb, which gives it a seat), then checks that the game still runs.
# Needs: xvfb weston qt6-wayland xdotool imagemagick. Usage: wayland_maximise.sh <build folder>
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work XDG_DATA_HOME=$work/data DISPLAY=:93
trap 'kill $(jobs -p) 2>/dev/null; [ -n "${ZENOBRA_SHOTS:-}" ] && cp "$work"/*.png "$ZENOBRA_SHOTS"/; rm -rf "$work"' EXIT
Xvfb $DISPLAY -screen 0 1400x1100x24 >/dev/null 2>&1 &
sleep 1
weston --backend=x11-backend.so --width=1300 --height=1050 --socket=zenobra >/dev/null 2>&1 &
sleep 3
WAYLAND_DISPLAY=zenobra QT_QPA_PLATFORM=wayland "$build/bin/zenobra" 2>"$work/log" &
game=$!
sleep 3
xdotool type Anna && xdotool key Return && sleep 1 && xdotool key Return && sleep 2
# The Exit button's magenta marks the client area's top-right corner; the title bar's maximise
# button stands above it.
# Where the Exit button's magenta stands on the screen: width height left top.
magenta() {
    import -window root "$work/$1.png"
    convert "$work/$1.png" -fill black +opaque "#C000C0" -trim -format '%w %h %X %Y\n' info:- |
        tr -d '+'
}
read -r width height left top < <(magenta before)
echo "wayland_maximise: magenta ${width}x${height}+${left}+${top}"
# weston follows the pointer only once it has come into its window: from outside, then along.
xdotool mousemove 1350 1080 && sleep 0.3
for step in 4 3 2 1 0; do
    xdotool mousemove $((left + width - 36 - step * 40)) $((top - 37)) && sleep 0.1
done
sleep 0.3 && xdotool click 1
sleep 3
# A process that has ended stays a zombie until reaped: look at its state, not its pid.
if [ "$(ps -o stat= -p $game | cut -c1)" = S ] || [ "$(ps -o stat= -p $game | cut -c1)" = R ]; then
    after=$(magenta after)
    echo "wayland_maximise: the game runs on after maximise; magenta now ${after// /,}"
else
    echo "wayland_maximise: the game ended after maximise:" >&2
    cat "$work/log" >&2
    exit 1
fi
