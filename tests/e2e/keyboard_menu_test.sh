#!/usr/bin/env bash
# The pause menu with the keyboard only, as a player without a mouse or pad meets it on the intro:
# Escape opens it on Resume; Down and Return open Options on the music volume; two rows down,
# Return turns the music off and says so; Escape goes back one page, to Options; S and Space open How to
# Play, and Escape comes back; Up from Resume wraps to Quit, whose question starts on "No";
# Return on "No" goes back to Resume; and Quit, Up to "Yes", Return ends the game with status 0.
# Each screen is compared with a reference (tests/e2e/references, kb_*); VORL_UPDATE_GOLDEN=1
# rewrites them. The references also serve as the README's pictures of the menus.
#
# Usage (under xvfb-run with a 1600x900 screen): keyboard_menu_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

# The menus stand still, but the intro behind them has particles: compare at half size.
shot_scale=50
shot_tolerance=0.04

check() {  # check <reference>: the mouse away, the screen shows it
    wait_for_screen "$1" 60
}
# The music switch's row of the options, compared closely: a word is a small part of the screen.
music_row="600x44+500+334"
check_row() {
    local scale=$shot_scale tolerance=$shot_tolerance
    shot_scale=100 shot_tolerance=0.02
    wait_for_screen "$1" 60 "$music_row"
    shot_scale=$scale shot_tolerance=$tolerance
}

start_game VORL_START_LEVEL=2
drawn() { import -window root -crop 1x1+800+60 txt:- 2>/dev/null | tail -n 1 | grep -qv '#000000'; }
wait_for drawn 120 || fail "the intro never appeared"
sleep 3

press Escape
check kb_pause_menu              # Resume selected
press Down
press Return
check kb_options                 # the music volume selected
press Down
press Down
check_row kb_switches_on         # "Music (O)  < On >"
press Return
check kb_options_music_off       # the notice "Music off" at the top
check_row kb_switches_music_off
press Escape
check kb_pause_menu_options      # back one page, on Options
press S
press space
check kb_how_to_play
press Escape
check kb_pause_menu_how_to_play
press Up
press Up
press Up                         # Resume, then wrap to Quit
press Return
check kb_question                # "Quit the game?", on "No"
press Return
check kb_pause_menu              # "No": back on Resume
press Up
press Return
check kb_question
press Up                         # "Yes"
press Return
expect_clean_exit "Quit from the keyboard"
