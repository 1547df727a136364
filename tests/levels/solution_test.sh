#!/usr/bin/env bash
# Usage: solution_test.sh <input_script> <assets> <first level> <last level>
# Every level's solution recording (assets/Level<N>Input/inputfile1.input) must be exactly what its
# script (inputfile1.script beside it) compiles to, so the readable script is the solution that is
# played. The whole-game runs (whole_game_test.sh) play every solution to its win at four rates.
set -euo pipefail
compiler="$1" assets="$2" first="$3" last="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
bad=0
for ((level = first; level <= last; level++)); do
    folder="$assets/Level${level}Input"
    if ! "$compiler" "$folder/inputfile1.script" "$work/compiled.input"; then
        echo "FAIL: level $level: the script does not compile" >&2
        bad=1
    elif ! cmp -s "$folder/inputfile1.input" "$work/compiled.input"; then
        echo "FAIL: level $level: inputfile1.input is not what inputfile1.script compiles to;" \
            "recompile it with input_script" >&2
        bad=1
    fi
done
[[ $bad == 0 ]] && echo "levels $first to $last: every recording is its script"
exit $bad
