#!/usr/bin/env bash
# The teacher's window on registers no game writes, each opened by a process of its own.
# Usage: bench/register_hostile.sh [build folder]   (build with ./quickstart test)
set -euo pipefail
build=${1:-build/test}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
for kind in names stray crowd full huge; do
    "$build/bin/register_hostile" write "$kind" "$work/$kind.csv" 2>/dev/null
    printf '%s, ' "$kind"
    "$build/bin/register_hostile" open "$work/$kind.csv" 2>/dev/null
done
