#!/usr/bin/env bash
# Usage: whole_game_test.sh <headless_runner> <assets> <step> <growth-KiB>
# The whole game in one process, from the splash to the final screen: every level played by its
# own solution must be won (a fall anywhere fails), and the ending must release every star
# collected on the way, one at a time, down to none. Memory stays flat: resident memory as the
# ending starts may exceed that of the first puzzle level by at most <growth-KiB>. Prints the
# resident memory at each level's start.
set -euo pipefail
runner="$1" assets="$2" step="$3" growth="$4"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT

"$runner" "$assets" --level 0 --until level_FinalScreen --solutions --memory --step "$step" \
    --frames 100000 >"$log" 2>&1 || { cat "$log"; echo "FAIL: the final screen never started" >&2; exit 1; }

awk -v minimum_stars=4 -v growth="$growth" '
    / LevelStarted / { level = $4; order[++levels] = level; next }
    / win$/          { won[level] = 1; next }
    /^peak resident/ { print "peak: " $3 " KiB"; next }
    / resident /     { resident[level] = $4; printf "%-22s %7d KiB\n", level, $4; next }
    / fall$/         { print "FAIL: a fall in " level ": " $0 > "/dev/stderr"; bad = 1; next }
    / stars /        {
        count = $4
        if (level == "level_End2" && count < last) released++
        else if (level == "level_End2" && count > last) { print "FAIL: a star gained in the ending" > "/dev/stderr"; bad = 1 }
        if (count > most) most = count
        last = count
    }
    END {
        for (i = 3; i < levels; i++) if (!won[order[i]]) { print "FAIL: " order[i] " was not won" > "/dev/stderr"; bad = 1 }
        if (levels != 21) { print "FAIL: " levels " levels started, not 21" > "/dev/stderr"; bad = 1 }
        if (most < minimum_stars) { print "FAIL: only " most " stars collected" > "/dev/stderr"; bad = 1 }
        if (released != most || last != 0) { print "FAIL: the ending released " released " of " most " stars" > "/dev/stderr"; bad = 1 }
        if (resident["level_End2"] - resident["level_MovingTut1"] > growth) {
            print "FAIL: memory grew " resident["level_End2"] - resident["level_MovingTut1"] " KiB over the game" > "/dev/stderr"; bad = 1
        }
        if (!bad) print "whole game won: " levels " levels, " most " stars collected and released"
        exit bad
    }' "$log"
