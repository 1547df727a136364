#!/usr/bin/env bash
# A designer's session that must lose nothing, on a 1600 x 900 screen: F5, load a level with the
# player on the goal, scale the goal (an edit), Escape (the editor asks), Cancel (still editing),
# save, Ctrl+P play-tests it to a win, which comes back to the editor with the level; F5 there
# changes nothing; F6 shows every archetype, a click opens one's panel, Save Archetype writes it;
# the window's close button then ends the game (nothing unsaved). Screenshots of the outlined
# selection, the question, the editor after the win and the archetype view are left in $TMPDIR for
# a person to look at.
#
# Usage (under xvfb-run with a 1600x900 screen): editor_session_test.sh <vorl> <send_close> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
send_close="$2"
game_script_setup "$1" "$3"
shots="${TMPDIR:-/tmp}/vorl-editor-session"
mkdir -p "$shots"

chord() {
    xdotool keydown ctrl
    sleep 0.2
    press "$1"
    xdotool keyup ctrl
    sleep 0.5
}
click() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.25
    xdotool mouseup 1
    sleep 0.4
}
lit() { import -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | tail -n 1 | grep -qv '#000000'; }
panel_open() { lit 20 16; }
# The palette's first icon, in the 72-pixel view on the right.
palette_shown() { lit 1564 30; }
shoot() { import -window root "$shots/$1.png"; }

mkdir -p "$work/assets"
cp -r "$repo/assets/." "$work/assets/"
: >"$work/assets/BrelSplashLevel"
# The player on the goal: the play-test is won as soon as it starts.
block() {
    printf '%s\n{\nTransform2D 0.000000000 0.000000000 5.000000000 %s %s 0.000000000\n' "$1" "$2" "$2"
    grep -v '^Transform2D$' "$work/assets/$1"
    printf '}\n'
}
{ block Goal 40.000000000; block Player1 30.000000000; } >"$work/assets/level_Win"
level="$work/assets/level_Win"

(cd "$work" && exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
xdotool mousemove 800 450
f5_opens_editor() { press F5; sleep 0.5; palette_shown; }
wait_for f5_opens_editor 60 || fail "F5 did not open the editor"

open_panel() {
    opens() { chord "$1"; wait_for panel_open 5; }
    wait_for "opens $1" 60 || fail "Ctrl+$1 opened no panel"
}
open_panel l
click 120 44
xdotool type --delay 60 "level_Win"
click 48 67
wait_for "lit 764 450" 30 || fail "the level did not load"

# An edit: select what is at the centre (the player, drawn over the goal) and make it one unit
# larger. The selection is outlined: 31 units above the view's centre lies the outline's yellow.
click 764 450
press equal
sleep 0.5
outlined() {
    import -window root -crop "1x1+764+419" txt:- 2>/dev/null | tail -n 1 |
        grep -o 'srgb([0-9,]*)' | tr -d 'srgb()' |
        awk -F, '{ exit !($1 > 200 && $2 > 170 && $3 < 120) }'
}
wait_for outlined 10 || fail "the selected player is not outlined"
shoot selected
echo "the selection is outlined"

press Escape
wait_for panel_open 30 || fail "Escape with unsaved changes asked nothing"
palette_shown || fail "Escape left the editor before the answer"
shoot question
click 40 121  # Cancel
wait_for "! panel_open" 30 || fail "Cancel left the question open"
palette_shown || fail "Cancel left the editor"
echo "Escape asked; Cancel stayed in the editor"

open_panel s
click 48 67
wait_for 'grep -q "Level \"level_Win\" saved to $level\$" "$out"' 30 || fail "the level was not saved"
grep -q "31.000000000 31.000000000\|41.000000000 41.000000000" "$level" || fail "the edit is not in the saved level"
echo "saved with the edit"

chord p
wait_for "! palette_shown" 30 || fail "Ctrl+P did not start the play-test"
wait_for palette_shown 60 || fail "the won play-test did not come back to the editor"
grep -q "ignored" "$out" && fail "the level sequence complained: $(grep ignored "$out" | head -n 1)"
sleep 1
shoot after_win
press F5
sleep 1
palette_shown || fail "F5 in the editor left it"
echo "won the play-test, back in the editor"

press F6
# Nothing unsaved: F6 goes at once to the grid of archetypes, the palette column gone.
wait_for "! palette_shown" 30 || fail "F6 did not leave the editor"
wait_for "lit 480 70" 30 || fail "F6 showed no archetypes"
click 480 70
wait_for panel_open 30 || fail "a click on an archetype opened no panel"
xdotool mousemove 800 850
sleep 0.5
shoot archetype_view
click 60 44  # Save Archetype, the panel's first button
wait_for 'grep -q "Archetype \".*\" saved to" "$out"' 30 || fail "Save Archetype saved nothing"
echo "F6: $(grep 'Archetype ".*" saved to' "$out" | head -n 1)"

"$send_close" "$window"
expect_clean_exit "the close button"
