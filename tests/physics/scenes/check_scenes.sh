#!/usr/bin/env bash
# Usage: check_scenes.sh <headless_runner> <scene-folder> <scene>
# Runs one small level through the headless runner (as the game's third level) and checks the
# positions and Collision messages it prints frame by frame.
set -euo pipefail
runner="$1"
scenes="$2"
scene="$3"
assets="$(mktemp -d)"
trap 'rm -rf "$assets"' EXIT
fail() { echo "FAIL ($scene): $*" >&2; exit 1; }

: >"$assets/Objects"
cp "$scenes/$scene" "$assets/level_Intro"
out="$assets/out"
"$runner" "$assets" --level level_Intro --frames 240 --collisions --positions >"$out"
grep -q '^frame 2: LevelStarted level_Intro$' "$out" || fail "the level did not start"

ys() { grep "position \"$1\"" "$out" | awk '{ print $NF }'; }
count() { grep -c "$1" "$out" || true; }

case "$scene" in
crate_on_floor)
    [ "$(count 'Collision began "Crate" "Floor"')" -eq 1 ] || fail "expected one contact start"
    [ "$(count 'Collision ended')" -eq 0 ] || fail "the resting contact ended"
    # At rest on the floor's top edge (120) from frame 100 on, and the floor never moves.
    bad="$(grep 'position "Crate"' "$out" | awk '{ f = $2 + 0 } f >= 100 && $NF != "140.000"' | head -1)"
    [ -z "$bad" ] || fail "crate not resting at 140: $bad"
    [ "$(ys Floor | sort -u)" = "100.000" ] || fail "the floor moved"
    ;;
hollow_trigger)
    [ "$(count 'Collision began "Falling" "Trigger"')" -eq 1 ] || fail "expected one start"
    [ "$(count 'Collision ended "Falling" "Trigger"')" -eq 1 ] || fail "expected one end"
    [ "$(count 'Collision continues "Falling" "Trigger"')" -ge 2 ] || fail "expected continues"
    began="$(grep -n 'began' "$out" | head -1 | cut -d: -f1)"
    ended="$(grep -n 'ended' "$out" | head -1 | cut -d: -f1)"
    [ "$began" -lt "$ended" ] || fail "ended before it began"
    # The trigger never pushes: the falling box keeps pace with its control frame by frame.
    diff <(ys Falling) <(ys Control) >/dev/null || fail "the trigger moved the falling box"
    [ "$(ys Trigger | sort -u)" = "300.000" ] || fail "the trigger moved"
    ;;
one_way_platform)
    highest="$(ys Player1 | sort -g | tail -1)"
    last="$(ys Player1 | tail -1)"
    awk -v h="$highest" 'BEGIN { exit !(h > 320) }' || fail "did not pass up through: $highest"
    awk -v y="$last" 'BEGIN { exit !(y > 319 && y < 321) }' || fail "not held on top: $last"
    grep -q 'Collision began "Player1" "Platform"' "$out" || fail "no contact reported"
    ;;
*)
    fail "no checks for this scene"
    ;;
esac
echo "$scene ok"
