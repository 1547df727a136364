#!/usr/bin/env bash
# The level select as a returning player meets it: a progress file reached level 6 with some
# stars and a best time; the title menu's third entry, "Levels", opens a grid of the levels
# reached on the furthest one; Escape goes back to the title menu on "Levels"; Return opens it
# again, Left twice and Return start level 4, and the progress file is left as it was read.
# Each screen is compared with a reference (tests/e2e/references, levels_*); VORL_UPDATE_GOLDEN=1
# rewrites them.
#
# Usage (under xvfb-run with a 1600x900 screen): level_select_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

shot_scale=50
shot_tolerance=0.04
mkdir -p "$XDG_DATA_HOME/vorl"
progress="$XDG_DATA_HOME/vorl/progress"
printf 'vorl progress 1\nfurthest 6\nstars 2 1\nstars 4 2\nbest 2 1234\nbest 4 2500\n' >"$progress"

(cd "$repo" && exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
xdotool mousemove 5 5
# The continue test's reference, at its quarter size; this test never rewrites it.
VORL_UPDATE_GOLDEN="" shot_scale=25 shot_tolerance=0.06 wait_for_screen title_menu 120
press Down
press Down
press Return                     # "Levels"
wait_for_screen levels_grid 60   # level 6 selected
press Escape
wait_for_screen levels_title_back 60
press Return
wait_for_screen levels_grid 60
press Left
press Left
press Return                     # level 4
shot_scale=25 shot_tolerance=0.06 settle=10 wait_for_screen levels_level4 120
grep -qx "furthest 6" "$progress" || fail "the progress file lost its furthest level"
kill "$pid"
wait "$pid" 2>/dev/null
rm -rf "$work"
