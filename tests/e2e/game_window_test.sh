#!/usr/bin/env bash
# The game in a virtual X server: its window appears full screen, keys reach it (Alt+Enter
# switches to the 1600 x 900 window; Ctrl+Space opens the console, which reads commands from
# standard input and also gives up at end of input), and closing the window ends it with status 0.
#
# Usage (under xvfb-run with a 1920x1080 screen): game_window_test.sh <vorl> <send_close> <repo>
set -uo pipefail

vorl="$1"
send_close="$2"
repo="$3"
work="$(mktemp -d)"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
out="$work/stdout"
source "$(dirname "$0")/driver.sh"

geometry() {
    # "x y width height" of the window, from the X server's own view.
    xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# Standard input is a pipe the test keeps open, so the console waits for what the test types.
mkfifo "$work/stdin"
(cd "$repo" && exec "$vorl" <"$work/stdin" >"$out" 2>&1) &
pid=$!
exec 3>"$work/stdin"

wait_for_window
echo "window $window"

# Full screen by default: the whole 1920 x 1080 screen.
wait_for '[ "$(geometry)" = "0 0 1920 1080" ]' 30 || fail "full-screen geometry is $(geometry)"
echo "full screen: $(geometry)"

xdotool mousemove 960 540
press alt+Return
wait_for '[ "$(geometry)" = "300 100 1600 900" ]' 30 || fail "windowed geometry is $(geometry)"
echo "windowed after Alt+Enter: $(geometry)"

xdotool mousemove 1100 550
# Keys pressed while the game is still loading its data arrive as one press-and-release inside a
# single frame, which is no press; so the first Ctrl+Space is repeated until the game answers.
console_opens() {
    press ctrl+space
    wait_for 'grep -q "Input Command >> " "$out"' 5
}
wait_for console_opens 60 || fail "Ctrl+Space did not open the console"
echo "hello" >&3
wait_for 'grep -q "Invalid Command." "$out"' 30 || fail "the console did not answer a command"
echo "exit" >&3
wait_for 'grep -q "Back to Game Window..." "$out"' 30 || fail "\"exit\" did not leave the console"
echo "console: prompt, \"Invalid Command.\", \"Back to Game Window...\""

# End of input: the console comes straight back instead of hanging the game. (Escape does
# nothing on the splash screen; it is pressed to show a stray key does no harm.)
exec 3>&-
press Escape
press ctrl+space
wait_for '[ "$(grep -c "Back to Game Window..." "$out")" -ge 2 ]' 30 ||
    fail "the console hung at end of input"
kill -0 "$pid" 2>/dev/null || fail "the game ended early"
echo "console at end of input returns at once"

"$send_close" "$window" || fail "could not send the close request"
expect_clean_exit "the close request"
