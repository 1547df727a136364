#!/usr/bin/env bash
# Progress survives quitting: a player on level 4 quits from the pause menu; the progress file in
# their data folder says level 4; on the next launch the splash comes as always, then the title
# menu on a screen of its own with "Continue" selected; "New Game" asks first ("No" selected, and
# Return on it comes back), and Return on "Continue" opens level 4 as it looked when they left. A
# third launch after a corrupt progress file says so in one line, keeps the file aside as
# progress.unreadable-<date> and starts as a first launch would.
#
# Usage (under xvfb-run with a 1600x900 screen): continue_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

# Level 4 has a fan's particles: compare at a quarter size, like the play-through.
shot_scale=25
shot_tolerance=0.06
progress="$XDG_DATA_HOME/vorl/progress"

start_game VORL_START_LEVEL=4
settle=10 wait_for_screen continue_level4 120
press Escape
press Up                         # Resume wraps to Quit
press Return
press Up                         # "Yes"
press Return
wait_for '! kill -0 "$pid" 2>/dev/null' 60 || fail "Quit, Yes did not end the game"
wait "$pid" || fail "the first run exited with status $?"
grep -qx "furthest 4" "$progress" || fail "the progress file does not say level 4: $(cat "$progress" 2>&1)"
echo "first run: $(tr '\n' ' ' <"$progress")"

start_game
settle=14 wait_for_screen title_menu 120
press Down
press Return                     # "New Game"
wait_for_screen title_new_game_question 60
press Return                     # "No"
wait_for_screen title_menu_new_game 60
press Up
press Return                     # "Continue"
# Compared even while references are rewritten: the first run's picture must show again.
VORL_UPDATE_GOLDEN="" wait_for_screen continue_level4 120
echo "second run: continued on level 4"
kill "$pid"
wait "$pid" 2>/dev/null

echo "this is not a progress file" >"$progress"
(cd "$repo" && exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
wait_for "grep -q 'progress not used' '$out'" 60 || fail "a corrupt progress file was not reported"
[ "$(grep -ci 'progress' "$out")" -eq 1 ] || fail "more than one line about the progress file"
kept=$(ls "$XDG_DATA_HOME"/vorl/progress.unreadable-* 2>/dev/null | head -n 1)
[ -n "$kept" ] && [ "$(cat "$kept")" = "this is not a progress file" ] ||
    fail "the corrupt file was not kept aside whole"
kill "$pid"
wait "$pid" 2>/dev/null
echo "third run: $(grep -i progress "$out")"
rm -rf "$work"
