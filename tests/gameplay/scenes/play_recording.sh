#!/usr/bin/env bash
# Usage: play_recording.sh <headless_runner> <scene-folder>
# Plays a recording that holds the left stick to the right into a small level (as the game's
# third level) at the real game's frame length, and checks the player's events the runner reports:
# the star picked up on the way, the win at the goal, the move to the next level after the spin.
set -euo pipefail
runner="$1"
scenes="$2"
assets="$(mktemp -d)"
trap 'rm -rf "$assets"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$assets/out" >&2; exit 1; }

: >"$assets/Objects"
cp "$scenes/roll_to_goal" "$assets/level_Intro"
# 400 records: packet 0, no buttons, no triggers, left stick x = 32767 (0x7fff), other axes 0.
for _ in $(seq 400); do printf '\0\0\0\0\0\0\0\0\377\177\0\0\0\0\0\0'; done >"$assets/right.input"
"$runner" "$assets" --level level_Intro --frames 600 --until 3 --input "$assets/right.input" \
    --step game >"$assets/out"

frame_of() { grep -m1 ": $1" "$assets/out" | sed 's/^frame \([0-9]*\):.*/\1/'; }
grep -q ': stars 1$' "$assets/out" || fail "the star was not counted"
win="$(frame_of win)"
[ -n "$win" ] || fail "no win"
next="$(frame_of 'ChangeLevel 3')"
[ -n "$next" ] || fail "no move to the next level"
# The spin lasts 2.5 s: at 1/63 s a frame, 158 frames, read one frame later.
spin=$((next - win))
[ "$spin" -ge 157 ] && [ "$spin" -le 161 ] || fail "spin of $spin frames"
grep -q ': LevelStarted level_MovingTut1$' "$assets/out" || fail "the next level did not start"
! grep -q ': fall$' "$assets/out" || fail "the player fell"
echo "play_recording ok"
