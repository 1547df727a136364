#!/usr/bin/env bash
# A new player's first session, driven through keys and clicks only: the splash, the gamepad
# notice, "level_Intro"; rolling and jumping; Escape, Options, Back, Resume; F5 into the editor
# and Escape out; Home through every level to the final screen; "Restart Game" and "Yes" back to
# the start;
# Page Up and Home to the final screen again; "Quit" ends the game with status 0. Every step waits
# for what it expects to see (a screenshot compared with a reference under
# tests/e2e/references/play_*.png, with a timeout), never for a fixed time.
# VORL_UPDATE_GOLDEN=1 rewrites the references as it goes.
#
# Usage (under xvfb-run with a 1600x900 screen): play_through_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

# Screens are compared at a quarter size: enough to tell screens apart, blind to the particles and
# glints that never hold still. A region is "WxH+X+Y" in 1600 x 900 screen pixels.
shot_scale=25
shot_tolerance=0.06

# Waits up to $2 seconds until the screen differs clearly from picture $1 (a new level).
wait_for_change() {
    local before="$1" timeout="$2" now="$work/now.png" e=""
    local deadline=$((SECONDS + timeout))
    while [ $SECONDS -lt "$deadline" ]; do
        take "$now"
        e="$(difference "$now" "$before")"
        below "$e" 0.05 || return 0
        sleep 0.3
    done
    return 1
}

click() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    xdotool mousemove 5 5
}

# Home moves on one level; the final screen has no player to read it. After each press the next
# level is given time to show (a press during a level's loading finds no player and is lost, so
# the loop just presses again).
home_to_final_screen() {
    local presses=0
    while [ $presses -lt 60 ]; do
        if [ -z "${VORL_UPDATE_GOLDEN:-}" ] && on_screen play_final_screen; then
            echo "Home: the final screen after $presses presses"
            return
        fi
        take "$work/before_home.png"
        press Home
        presses=$((presses + 1))
        wait_for_change "$work/before_home.png" 8 || [ -z "${VORL_UPDATE_GOLDEN:-}" ] || return 0
    done
    fail "60 presses of Home never reached the final screen"
}

menu="800x720+400+100"      # the menu pages and their buttons
palette="80x900+1520+0"    # the editor's palette column, on the right

# With VORL_UPDATE_GOLDEN, the references of the first three screens come from games started on
# them (VORL_START_LEVEL), shot a second after their first frame drawn over the loading screen.
rewrite_title_reference() {  # rewrite_title_reference <level> <name>
    (cd "$work" && VORL_START_LEVEL="$1" exec "$vorl" </dev/null >/dev/null 2>&1) &
    local title=$!
    drawn() {
        take "$work/title.png" &&
            below 0.08 "$(convert "$work/title.png" -format '%[fx:mean]' info: 2>/dev/null)"
    }
    wait_for drawn 120 || fail "level $1 drew nothing"
    sleep 1
    take "$references/$2.png"
    kill "$title"
    wait "$title"
    echo "$2: reference rewritten"
}

mkdir -p "$work/assets"
cp -r "$repo/assets/." "$work/assets/"
if [ -n "${VORL_UPDATE_GOLDEN:-}" ]; then
    rewrite_title_reference 0 play_splash
    rewrite_title_reference 1 play_notice
    rewrite_title_reference 2 play_intro
fi
(cd "$work" && exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window

# The splash and the notice move on by themselves (a key or a click too, which the unit tests
# check): the shots from the window to the intro must show both, in order.
shoot_until play_intro 120
shown_in_order play_splash play_notice play_intro || fail "the game did not open on its splash and notice"

# The player is the only thing drawn in its orange-red: its box on screen says where it is
# (screen pixels; a region "WxH+X+Y" keeps each look quick enough to catch a jump in the air).
player_at() {
    local region="${1:-1600x900+0+0}" ox oy
    IFS=+ read -r _ ox oy <<<"$region"
    import -window root -crop "$region" +repage miff:- 2>/dev/null |
        convert - -fill black -fuzz 4% +opaque "#E8553A" -fill white -opaque "#E8553A" \
            -format "%@" info: 2>/dev/null |
        awk -F'[x+]' -v ox="$ox" -v oy="$oy" '$1 > 10 { print int(ox + $3 + $1 / 2), int(oy + $4 + $2 / 2) }'
}
read -r start_x start_y <<<"$(player_at)"
[ -n "$start_x" ] || fail "no player on the intro's screen"
# Left, towards the step behind the start: the goal on the right would end the level.
xdotool keydown Left
rolled() { read -r x y <<<"$(player_at)"; [ -n "$x" ] && [ "$x" -lt $((start_x - 120)) ]; }
wait_for rolled 20 || { xdotool keyup Left; fail "holding Left did not roll the player (still near x $start_x)"; }
xdotool keyup Left
echo "roll: the player rolled from x $start_x to x $x"
sleep 1
read -r ground_x ground_y <<<"$(player_at)"
column="240x500+$((ground_x - 120))+$((ground_y - 400))"
# Up held over the first looks (a press and release inside one frame would be no press).
xdotool keydown Up
highest=$ground_y
for look in $(seq 12); do
    read -r x y <<<"$(player_at "$column")"
    [ -n "$y" ] && [ "$y" -lt "$highest" ] && highest=$y
    [ "$look" -eq 2 ] && xdotool keyup Up
done
y=$highest
[ "$y" -lt $((ground_y - 40)) ] || fail "Up did not make the player jump (highest at y $y from $ground_y)"
echo "jump: the player rose from y $ground_y to y $y"

press Escape
# Escape shows the keyboard's selection; the mouse moving takes over, as when it comes back.
xdotool mousemove 10 10
sleep 0.3
xdotool mousemove 5 5
wait_for_screen play_pause_menu 30 "$menu"
click 800 200                      # "Options"
wait_for_screen play_options 30 "$menu"
click 800 692                      # "Back"
wait_for_screen play_pause_menu 30 "$menu"
click 800 100                      # "Resume"
wait_for_screen_to_leave play_pause_menu 30 "$menu" || fail "Resume left the pause menu open"

press F5
wait_for_screen play_editor_palette 60 "$palette"
press Escape
wait_for_screen_to_leave play_editor_palette 30 "$palette" || fail "Escape left the editor open"

home_to_final_screen
wait_for_screen play_final_screen 90
click 800 650                      # "Restart Game", which asks first
sleep 1
click 800 400                      # "Yes": a new game, from the gamepad notice
wait_for_screen_to_leave play_final_screen 30 || fail "Restart Game left the final screen up"
wait_for_screen play_intro 60
press Prior                        # Page Up: straight to the ending
sleep 1
home_to_final_screen
wait_for_screen play_final_screen 90
click 800 549                      # "Quit"

expect_clean_exit "Quit on the final screen"
