#!/usr/bin/env bash
# Launch to the splash's backdrop colour on screen, the game against the bare window
# (bench/bare_window.cpp) as its floor, run alternately under xvfb-run at 1600 x 900.
# Usage: tools/startup_race.sh [build-folder] [rounds]   (default build/release, 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
rounds="${2:-3}"
export VORL_NO_MESSAGE_BOXES=1
for round in $(seq "$rounds"); do
    for program in "$build/bench/bare_window" "$build/vorl"; do
        xvfb-run -a -s "-screen 0 1600x900x24 -noreset" bash -c '
            start=$(date +%s.%N)
            "$0" >/dev/null 2>&1 &
            pid=$!
            "$1" 40 40 292130 30 || echo "$(basename "$0"): the colour never showed" >&2
            now=$(date +%s.%N)
            kill $pid
            awk -v a="$start" -v b="$now" -v p="$(basename "$0")" \
                "BEGIN { printf \"%-12s %.3f s\\n\", p, b - a }"
        ' "$program" "$build/bench/first_pixel"
    done
done
