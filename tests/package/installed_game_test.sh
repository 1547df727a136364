#!/usr/bin/env bash
# The installed game as a player starts it: from a folder that is neither the repository nor the
# install folder, with a home of its own. It finds its data and draws the splash; F12 saves the
# screenshot into the player's folder; nothing is written into the install folder or the working
# folder; closing the window ends it with status 0.
#
# Usage (under xvfb-run with a 1600x900 screen, after package.debian unpacked the package into
# <scratch>/root): installed_game_test.sh <scratch> <send_close> <repo>
set -uo pipefail

scratch="$1"
send_close="$2"
repo="$3"
source "$repo/tests/e2e/driver.sh"
references="$repo/tests/e2e/references"
work="$(mktemp -d)"
out="$work/stdout"
root="$scratch/root"
home="$work/home"
elsewhere="$work/elsewhere"
mkdir -p "$home" "$elsewhere"
shot_scale=25
shot_tolerance=0.06

touch "$work/started"
(cd "$elsewhere" && HOME="$home" XDG_DATA_HOME= XDG_CONFIG_HOME= exec "$root/usr/games/vorl" \
    </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
# The splash shows for a few seconds: shots are taken until the intro and searched for it.
shoot_until play_intro 120
shown_in_order play_splash || fail "the installed game drew no splash"
cp "$shown_shot" "$scratch/splash.png"
echo "the installed game drew its splash (a quarter-size shot kept in $scratch/splash.png)"

press F12
player="$home/.local/share/vorl"
wait_for 'ls "$player"/screenshots/*.png >/dev/null 2>&1' 30 ||
    fail "F12 saved no screenshot in the player's folder"
echo "F12: $(ls "$player"/screenshots/)"

written=$(find "$root" "$elsewhere" -newer "$work/started" -not -type d)
[ -z "$written" ] || fail "the game wrote into the install or working folder: $written"
echo "nothing written into the install folder or the working folder"

"$send_close" "$window" || fail "could not send the close request"
expect_clean_exit "the close request"
