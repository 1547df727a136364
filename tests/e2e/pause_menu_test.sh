#!/usr/bin/env bash
# The pause menu as a player on a 1366 x 768 laptop meets it: on a level, Escape opens the menu
# over the dimmed level, "Options" opens the options screen, "Back" returns, "Quit" asks, and
# "Yes" ends the game with status 0. The pause menu and the options screen are compared with
# reference screenshots (tests/e2e/references); VORL_UPDATE_GOLDEN=1 rewrites them.
#
# The game runs in a scratch folder holding the game's assets plus a small test level of flat
# coloured blocks, so the pictures do not change when the real levels do; VORL_START_LEVEL starts
# it on that level.
#
# Usage (under xvfb-run with a 1366x768 screen): pause_menu_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

# A world point relative to the camera (the screen centre) in screen pixels: the 1600 x 900 back
# buffer fills the 1366 x 768 screen.
click_at() {
    local x y
    x=$(awk -v w="$1" 'BEGIN { printf "%d", (800 + w) * 1366 / 1600 }')
    y=$(awk -v w="$2" 'BEGIN { printf "%d", (450 - w) * 768 / 900 }')
    xdotool mousemove "$x" "$y"
    sleep 0.5
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    sleep 0.8
}

# Parks the mouse off every button and waits for the screen to show reference $1.
check_screen() {
    xdotool mousemove 20 20
    wait_for_screen "$1" 60
}

mkdir -p "$work/assets"
cp -r "$repo/assets/." "$work/assets/"
# Sky, floor and a crate in flat colours: "object|x y z sx sy|red green blue".
for block in "Sky|0.0 0.0 0.0 800.0 450.0|0.55 0.70 0.85" \
    "Floor|0.0 -400.0 1.0 800.0 50.0|0.30 0.36 0.45" "Crate|-450.0 -300.0 1.0 50.0 50.0|0.78 0.56 0.30"; do
    IFS='|' read -r name place colour <<<"$block"
    read -r r g b <<<"$colour"
    printf '%s\n{\nTransform2D %s 0.0\nColoredSquareComponent redTint %s greenTint %s blueTint %s \n}\n\n' \
        "$name" "$place" "$r" "$g" "$b"
done >"$work/assets/level_Intro"

(cd "$work" && VORL_START_LEVEL=2 exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!

wait_for_window
# The level is drawn once the data has loaded: the sky replaces the black of the first frames.
sky_shows() { import -window root -crop 1x1+683+60 txt:- 2>/dev/null | tail -n 1 | grep -qv '#000000'; }
wait_for sky_shows 120 || fail "the test level never appeared"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the game ended early"

press Escape
check_screen pause_menu

click_at 0 250        # "Options"
check_screen options
click_at 0 -242       # "Back"
check_screen pause_menu
click_at 0 -350       # "Quit"
xdotool mousemove 20 20
wait_for_screen_to_leave pause_menu 30 || fail "Quit did not ask"
click_at 0 50         # "Yes"

expect_clean_exit "Quit, Yes"
