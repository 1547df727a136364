#!/usr/bin/env bash
# A player's best run of level 3 watched at launch (VORL_WATCH_LEVEL), the game quitting by itself
# when the replay ends. First a run whose records go on past its goal: the game says it no longer
# matches the level, and on which step the goal came. Then the same run cut at that step: it plays
# to the goal on its last record, under the "Replay" label. Last, the level played with the keys
# keeps a best run of its own, which replays to its goal as well.
#
# Usage (under xvfb-run): best_run_replay_test.sh <vorl> <repo>
set -uo pipefail

source "$(dirname "$0")/driver.sh"
game_script_setup "$@"

runs="$XDG_DATA_HOME/vorl/BestRuns"
mkdir -p "$runs"
# Level 3's solution as a best run: each record's packet number carries a best run's tag (and no
# keys).
python3 - "$repo/assets/Level3Input/inputfile1.input" "$runs/level3.input" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()
out = bytearray()
for at in range(0, len(data) - len(data) % 16, 16):
    out += (0x56520000).to_bytes(4, 'little') + data[at + 4:at + 16]
open(sys.argv[2], 'wb').write(out)
EOF

watch() {
    (cd "$repo" && VORL_WATCH_LEVEL=3 exec "$vorl" </dev/null >"$out" 2>&1) &
    pid=$!
    wait_for_window
}
said() { grep -q "^best run of level 3: $1" "$out"; }

watch
wait_for "said 'no longer matches'" 300 || fail "the run going on past its goal was not refused"
settle=0.3 wait_for_screen best_run_mismatch 10 "1000x80+300+390"
wait_for '! kill -0 "$pid" 2>/dev/null' 60 || fail "the game did not quit after the replay"
wait "$pid" || fail "the game exited with status $? after the replay"
steps="$(sed -n 's/^best run of level 3: no longer matches, after \([0-9]*\) steps$/\1/p' "$out")"
[ -n "$steps" ] || fail "no step count in: $(grep '^best run' "$out")"
echo "the goal came on step $steps of $(($(stat -c %s "$runs/level3.input") / 16))"

truncate -s $((steps * 16)) "$runs/level3.input"
watch
wait_for_screen best_run_replay 60 "240x64+680+0"
wait_for "said 'the goal reached on its last step, $steps steps'" 300 ||
    fail "the run cut at its goal did not replay to it: $(grep '^best run' "$out")"
wait_for '! kill -0 "$pid" 2>/dev/null' 60 || fail "the game did not quit after the replay"
wait "$pid" || fail "the game exited with status $? after the replay"

# Level 3 played with the keys, as its solution does (right held, three jumps), until its goal
# keeps a best run: R starts a missed try again. The run it keeps replays to its goal.
rm -f "$runs/level3.input"
(cd "$repo" && VORL_START_LEVEL=3 exec "$vorl" </dev/null >"$out" 2>&1) &
pid=$!
wait_for_window
jump() { sleep "$1"; xdotool keydown Up; sleep 0.05; xdotool keyup Up; }
for try in 1 2 3 4; do
    press r
    sleep 1
    xdotool keydown Right
    jump 0.32; jump 1.05; jump 0.9
    sleep 2.5
    xdotool keyup Right
    wait_for "[ -s '$runs/level3.input' ]" 3 && break
done
[ -s "$runs/level3.input" ] || fail "four tries with the keys kept no best run of level 3"
echo "kept by the keys on try $try: $(($(stat -c %s "$runs/level3.input") / 16)) steps"
kill -TERM "$pid"
wait "$pid" || fail "the game exited with status $? after the keys' play"
watch
wait_for "said 'the goal reached on its last step'" 300 ||
    fail "the run the keys kept did not replay to its goal: $(grep '^best run' "$out")"
expect_clean_exit "the replay of the keys' run"
