#!/usr/bin/env bash
# Measures what a player's machine feels of the game, for docs/performance.md:
#   - start-up of the real game to the first drawn frame of the splash, against a bare window
#     (tools/startup_race.sh);
#   - CPU use of the real game idling at the frame cap on level_Intro, against the headless
#     engine idling at the same cap (tools/frame_cap_cpu) as its baseline, and the F1 overlay
#     there saved as a picture (<build>/perf_report_overlay.png) to read its frames per second;
#   - the whole game played headless by its solutions: speed as a multiple of real time, the
#     peak resident memory and the most decoded picture memory held at once;
#   - the picture sheets: what all of them take decoded as RGBA pixels;
#   - the game benchmark (start-up headless, the heaviest level's frame time against the intro's);
#   - the level drawing benchmark (level_Intro and level_End2 against an empty frame, under
#     xvfb-run, on llvmpipe with the rasteriser on the measuring thread).
# Usage: tools/perf_report.sh [build-folder]   (default build/release; build it first)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
vorl="$PWD/$build/vorl"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Start-up to the splash, the game against the bare window as its floor.
export VORL_NO_MESSAGE_BOXES=1
tools/startup_race.sh "$build" 1 | sed 's/^/start-up to the splash: /'

# Idle at the cap: ten seconds of the intro standing still, after five to settle.
hz=$(getconf CLK_TCK)
VORL_START_LEVEL=2 xvfb-run -a -s "-screen 0 1600x900x24 -noreset" bash -c '
    "$0" >/dev/null 2>&1 &
    game=$!
    sleep 5
    a=$(awk "{ print \$14 + \$15 }" /proc/$game/stat)
    sleep 10
    b=$(awk "{ print \$14 + \$15 }" /proc/$game/stat)
    xdotool key F1
    sleep 3
    import -window root -crop 420x60+0+0 "$2"
    kill $game
    awk -v a="$a" -v b="$b" -v hz="$1" "BEGIN { printf \"real game idling at the cap: %.1f%% of a core\\n\", (b - a) / hz / 10 * 100 }"
' "$vorl" "$hz" "$PWD/$build/perf_report_overlay.png"
echo "F1 overlay on level_Intro: $build/perf_report_overlay.png"
"$build/tools/frame_cap_cpu" 2>/dev/null | grep '^sleeping' | sed 's/^/headless engine at the cap (baseline): /'

# The whole game, headless, on the game's frame length.
start=$(date +%s.%N)
"$build/tools/headless_runner" assets --level 0 --until level_FinalScreen --solutions --memory \
    --step game --frames 100000 >"$work/run" 2>&1
end=$(date +%s.%N)
frames=$(awk '/^frame/ { sub(":", "", $2); f = $2 } END { print f }' "$work/run")
awk -v f="$frames" -v a="$start" -v b="$end" 'BEGIN {
    game = f / 63; wall = b - a
    printf "whole game headless: %d frames = %.0f s of play in %.1f s: %.0f x real time\n", f, game, wall, game / wall }'
grep -E '^peak (resident|pictures)' "$work/run"

"$build/bench/game_bench" --benchmark_color=false 2>/dev/null | grep -E '^(startup|level_frame|scene)' || true

identify -format '%w %h\n' assets/*.png | awk '{ bytes += $1 * $2 * 4 } END {
    printf "picture sheets decoded: %d sheets, %.1f MiB\n", NR, bytes / 1048576 }'

xvfb-run -a -s "-screen 0 1600x900x24" "$build/bench/level_render_bench" --benchmark_color=false \
    2>/dev/null | grep -E '^level_draw ' || true
