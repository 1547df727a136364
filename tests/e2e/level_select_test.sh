#!/usr/bin/env bash
# The level select as a returning player meets it: a progress file reached level 6 with some
# stars and a best time; the title menu's third entry, "Levels", opens a grid of the levels
# reached on the furthest one; Escape goes back to the title menu on "Levels"; Return opens it
# again; level 3's best run watched from there ends back on the grid on level 3; Right and Return
# start level 4, and the progress file is left as it was read.
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
# Level 3's solution up to its goal (on its 210th step) kept as its best run, a best run's tag in
# each record's packet number.
mkdir -p "$XDG_DATA_HOME/vorl/BestRuns"
python3 - "$repo/assets/Level3Input/inputfile1.input" "$XDG_DATA_HOME/vorl/BestRuns/level3.input" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()
records = range(0, 210 * 16, 16)
tagged = [(0x56520000).to_bytes(4, 'little') + data[at + 4:at + 16] for at in records]
open(sys.argv[2], 'wb').write(b''.join(tagged))
EOF
printf 'vorl progress 1\nfurthest 6\nstars 2 1\nstars 4 2\nbest 2 1234\nbest 4 2500\n' >"$progress"

start_game
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
press Left
press Down
press Return                     # level 3's "Watch best run"
# The replay reaches the goal and ends back on the level select, on the level watched.
wait_for "grep -q '^best run of level 3: the goal reached' '$out'" 120 ||
    fail "the replay did not reach its goal: $(grep '^best run' "$out")"
wait_for_screen levels_after_watch 60
press Right
press Return                     # level 4
shot_scale=25 shot_tolerance=0.06 settle=10 wait_for_screen levels_level4 120
grep -qx "furthest 6" "$progress" || fail "the progress file lost its furthest level"
kill "$pid"
wait "$pid" 2>/dev/null
rm -rf "$work"
