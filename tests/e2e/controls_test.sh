#!/usr/bin/env bash
# The Controls page as a player meets it: Escape, Down, Return opens Options; Up twice reaches
# Controls; three rows down is Jump, whose Return waits for a key; Space takes it over from
# Switch form, which gets W, and the page says so. The choice is in the settings file at once,
# and the next launch shows it.
#
# Usage (under xvfb-run with a 1600x900 screen): controls_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

shot_scale=50
shot_tolerance=0.04
settings="$XDG_CONFIG_HOME/vorl/settings"
open_controls() {
    press Escape
    press Down
    press Return
    press Up                     # round to Back
    press Up                     # Controls
    press Return
}

start_game VORL_START_LEVEL=2
settle=8 wait_for_screen controls_intro 120
open_controls
wait_for_screen controls_page 60
for _ in 1 2 3; do press Down; done
press Return
wait_for_screen controls_waiting 30
press space
wait_for_screen controls_jump_on_space 30
wait_for 'grep -qx "key jump 0x20 0x26" "$settings" 2>/dev/null' 30 ||
    fail "the new jump key was not saved: $(cat "$settings" 2>/dev/null)"
grep -qx "key switch-form 0x57 none" "$settings" ||
    fail "switch form did not get W: $(cat "$settings")"
echo "controls: jump on Space, switch form on W, saved"
stop_game

start_game VORL_START_LEVEL=2
settle=8 wait_for_screen controls_intro 120
open_controls
wait_for_screen controls_page_rebound 60
echo "next launch: the page shows jump on Space"
stop_game
rm -rf "$work"
