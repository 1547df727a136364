#!/usr/bin/env bash
# The real game on a machine that draws only 30 frames a second: it steps the simulation at its own
# rate whatever the drawing costs, so each level's recording, made at 63 frames a second, still
# wins it. The game starts on level 2 with every recording playing into the first gamepad and must
# go on to level 4 by itself; a termination request then ends it cleanly.
#
# Usage (under xvfb-run): slow_machine_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

(cd "$repo" && VORL_START_LEVEL=2 VORL_MAX_FPS=30 VORL_PLAYBACK=1 exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!

wait_for_window
reached() { grep -q "^level started: $1\$" "$out"; }
wait_for "reached level_Intro" 120 || fail "level 2 never started"
# Level 2's recording takes about 8 s and level 3's about 9 s of game time; the limit is for a
# loaded machine that draws far fewer frames than asked.
wait_for "reached level_MovingTut1" 300 || fail "level 2's recording did not win it at 30 fps"
wait_for "reached level_Moving1" 300 || fail "level 3's recording did not win it at 30 fps"
echo "levels 2 and 3 won by their recordings on a machine drawing 30 frames a second"

kill -TERM "$pid"
expect_clean_exit "a termination request"
