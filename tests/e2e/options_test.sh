#!/usr/bin/env bash
# The Options page and the settings file, as a player meets them: Escape, Down, Return opens
# Options on the music volume; Left lowers it; four rows down, Return puts the game in a window.
# Both are in the settings file at once; the next launch opens in a window, and Alt+Enter back to
# full screen is remembered too. A damaged settings file is said in one line and the game starts.
#
# Usage (under xvfb-run with a 1920x1080 screen, so that full screen and a window differ):
# options_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

shot_scale=50
shot_tolerance=0.04
settings="$XDG_CONFIG_HOME/vorl/settings"
width() { xwininfo -id "$window" 2>/dev/null | awk '/Width:/ {print $2}'; }

start_game VORL_START_LEVEL=2
wait_for '[ "$(width)" = 1920 ]' 60 || fail "the first launch is not full screen ($(width))"
settle=8 wait_for_screen options_intro 120
press Escape
press Down
press Return
wait_for_screen options_page 60
press Left                       # music volume 90 %
for _ in 1 2 3 4; do press Down; done
press Return                     # Display: a window
wait_for 'grep -qx "full-screen off" "$settings" 2>/dev/null' 30 || fail "the window mode was not saved"
grep -qx "music-volume 90" "$settings" || fail "the music volume was not saved: $(cat "$settings")"
wait_for '[ "$(width)" = 1600 ]' 30 || fail "Options did not make a window ($(width))"
echo "options: a window and music at 90 % saved"
stop_game

start_game VORL_START_LEVEL=2
wait_for '[ "$(width)" = 1600 ]' 60 || fail "the next launch forgot the window ($(width))"
sleep 2
xdotool key --window "$window" alt+Return
wait_for 'grep -qx "full-screen on" "$settings"' 30 || fail "Alt+Enter was not remembered"
echo "next launch: in a window; Alt+Enter to full screen remembered"
stop_game

echo "vorl settings 1" >"$settings"
echo "music-volume loud" >>"$settings"
start_game VORL_START_LEVEL=2
wait_for "grep -q 'using the default settings' '$out'" 60 || fail "a damaged settings file was not reported"
[ "$(grep -c 'settings' "$out")" -eq 1 ] || fail "more than one line about the settings: $(cat "$out")"
kill -0 "$pid" 2>/dev/null || fail "the game ended on a damaged settings file"
echo "damaged file: $(grep settings "$out")"
stop_game
rm -rf "$work"
