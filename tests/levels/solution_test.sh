#!/usr/bin/env bash
# Usage: solution_test.sh <input_script> <headless_runner> <assets> <level> <step>
# Plays level <level>'s solution (assets/Level<level>Input/inputfile1.input) headless on a machine
# drawing frames of <step> seconds ("game": 1/63), the game stepping by its own 1/63 s, and passes
# only when the player wins before the recording runs out. The recording
# must also be exactly what its script (inputfile1.script beside it) compiles to, so the readable
# script is the solution that is checked.
set -euo pipefail
compiler="$1" runner="$2" assets="$3" level="$4" step="$5"
folder="$assets/Level${level}Input"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: level $level at step $step: $*" >&2; exit 1; }

"$compiler" "$folder/inputfile1.script" "$work/compiled.input" || fail "the script does not compile"
cmp -s "$folder/inputfile1.input" "$work/compiled.input" ||
    fail "inputfile1.input is not what inputfile1.script compiles to; recompile it with input_script"

records=$(( $(stat -c %s "$folder/inputfile1.input") / 16 ))
# One record a step; the frames that take, two seconds more, at this frame length.
frames=$(awk -v steps=$((records + 120)) -v frame="$step" \
    'BEGIN { if (frame == "game") frame = 1 / 63; printf "%d", steps / 63 / frame + 1 }')
"$runner" "$assets" --level "$level" --input "$folder/inputfile1.input" --step "$step" \
    --frames "$frames" >"$work/log" 2>&1 || fail "the runner failed: $(cat "$work/log")"
cat "$work/log"
# The first of the two events decides: a win before the recording ends (or with no end at all).
first=$(grep -E -m1 '^frame [0-9]+: (win|recording ended|fall)$' "$work/log" || true)
case "$first" in
    *": win") echo "level $level won at step $step ($first)" ;;
    "") fail "neither a win nor the end of the recording" ;;
    *) fail "no win: $first" ;;
esac
