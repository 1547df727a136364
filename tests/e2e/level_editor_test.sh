#!/usr/bin/env bash
# The level editor as a designer uses it, on a 1600 x 900 screen (the back buffer pixel for
# pixel): F5 opens the editor; Ctrl+click on the crate's palette icon picks it and three
# Ctrl+clicks paint three crates; one is dragged with G held (snapped to the grid); Ctrl+S saves
# the level under a new name typed into the panel; Escape leaves, F5 enters again, Ctrl+L loads
# the level back by name. The level file must hold exactly the three crates where they were put,
# and a second save of the same text must leave it and spend no backup. The editor with its palette and
# with an open object panel is compared with reference screenshots (tests/e2e/references);
# VORL_UPDATE_GOLDEN=1 rewrites them.
#
# The game runs in a scratch folder with the game's assets, whose archetype list is replaced by
# one crate archetype drawn from a sheet made here, so the palette does not change when the game's
# archetypes do.
#
# Usage (under xvfb-run with a 1600x900 screen): level_editor_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"
level="$work/assets/level_Designer"

# Ctrl held around a key, released after it, so the key never runs without Ctrl.
chord() {
    xdotool keydown ctrl
    sleep 0.2
    press "$1"
    xdotool keyup ctrl
    sleep 0.5
}

# Screen pixels of a world point in the level view: its 1528-pixel viewport is centred on the
# camera at (0, 0).
screen_x() { echo $((764 + $1)); }
screen_y() { echo $((450 - $1)); }

click() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown "${3:-1}"
    sleep 0.25
    xdotool mouseup "${3:-1}"
    sleep 0.4
}

# Whether the screen pixel (x, y) is not black.
lit() { import -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | tail -n 1 | grep -qv '#000000'; }

# Opens a panel with Ctrl+$1 and waits for it (its corner lights up), pressing again when the
# chord came while a frame was too slow to see it. The corner must be dark before.
open_panel() {
    panel_opens() { chord "$1"; wait_for "lit 20 16" 5; }
    wait_for "panel_opens $1" 60 || fail "Ctrl+$1 opened no panel"
}

mkdir -p "$work/assets"
cp -r "$repo/assets/." "$work/assets/"
# A 10 x 5 sheet of crate cells: wood with a dark frame.
convert -size 20x20 xc:'#c68a3c' -fill none -stroke '#5a3510' -strokewidth 3 \
    -draw 'rectangle 2,2 17,17' -draw 'line 2,2 17,17' -write mpr:cell +delete \
    -size 200x100 tile:mpr:cell "$work/assets/CrateSheet.png" || fail "could not draw the crate sheet"
echo "CrateSheet" >>"$work/assets/TextureList"
echo "Crate CrateSheet 0 1 1.0" >>"$work/assets/AnimationList"
printf 'TextureComponent filename "Crate" \n' >"$work/assets/Crate"
echo "Crate" >"$work/assets/Objects"
# The editor opens on the level the game is at: an empty first level keeps the splash out of it.
: >"$work/assets/BrelSplashLevel"

(cd "$work" && exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
kill -0 "$pid" 2>/dev/null || fail "the game ended early"

# The crate's icon: the first of the palette, at offset 420 in the 72-pixel view on the right.
icon_x=1564
icon_y=30
# F5 again until the palette shows: the first presses may come while the data is still loading,
# and F5 in the editor does nothing.
xdotool mousemove 800 450
f5_opens_editor() { press F5; sleep 0.5; lit $icon_x $icon_y; }
wait_for f5_opens_editor 60 || fail "F5 did not open the editor with its palette"

xdotool keydown ctrl
sleep 0.3
click $icon_x $icon_y
for x in -120 0 120; do
    click "$(screen_x "$x")" "$(screen_y 0)"
done
xdotool keyup ctrl
sleep 0.5
wait_for "lit $(screen_x 120) $(screen_y 0)" 30 || fail "painting placed no crate at (120, 0)"
xdotool mousemove 700 800
wait_for_screen editor_palette 60

# Drag the crate at (120, 0) to the cell of (245, 118) with G held: it lands on (240, 120).
xdotool mousemove "$(screen_x 120)" "$(screen_y 0)"
sleep 0.3
xdotool keydown g
xdotool mousedown 1
sleep 0.3
for step in 1 2 3 4 5; do
    xdotool mousemove "$(screen_x $((120 + step * 25)))" "$(screen_y $((step * 118 / 5)))"
    sleep 0.15
done
sleep 0.3
xdotool mouseup 1
xdotool keyup g
sleep 0.5

# The save panel: the "Level Name" field first, the "Save Level" button under it.
open_panel s
click 100 44
xdotool type --delay 60 "level_Designer"
sleep 0.3
click 48 67
wait_for '[ -f "$level" ]' 30 || fail "Save Level wrote no level file"
wait_for 'grep -q "Level \"level_Designer\" saved to $level\$" "$out"' 30 ||
    fail "the editor did not say where it saved the level"
echo "the editor says: $(grep 'saved to' "$out")"

# A right click on a crate opens its object panel.
click "$(screen_x 0)" "$(screen_y 0)" 3
xdotool mousemove 700 800
wait_for_screen editor_object_panel 60

expected="$work/expected"
for place in "-120.000000000 0.000000000" "0.000000000 0.000000000" "240.000000000 120.000000000"; do
    printf 'Crate\n{\nTransform2D %s 5.000000000 30.000000000 30.000000000 0.000000000\nTextureComponent filename "Crate" \n}\n' "$place"
done >"$expected"
cmp -s "$level" "$expected" || { diff "$expected" "$level"; fail "the saved level is not the three crates placed"; }
echo "saved: exactly the three crates"

press Escape
wait_for "! lit $icon_x $icon_y" 30 || fail "Escape did not leave the editor"
wait_for f5_opens_editor 60 || fail "F5 did not open the editor again"
# F5 opens a new, unnamed level: the load panel's name field starts empty.
open_panel l
click 100 44
xdotool type --delay 60 "level_Designer"
sleep 0.3
click 48 67
wait_for "lit $(screen_x 240) $(screen_y 120)" 30 || fail "Load Level did not bring the crates back"
wait_for "! lit 20 16" 30 || fail "Load Level left its panel open"
# Saved again unchanged: the file stays, and no backup generation is spent on the same text.
open_panel s
click 48 67
wait_for 'grep -q "Level \"level_Designer\" saved to $level (unchanged)\$" "$out"' 30 ||
    fail "the second save said nothing"
[ -f "$level.bak" ] && fail "saving the same text made a backup"
cmp -s "$level" "$expected" || { diff "$expected" "$level"; fail "the level loaded and saved again changed"; }
echo "loaded with Ctrl+L and saved again: same file, no backup of the same text"

press Escape
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
rm -rf "$work"
