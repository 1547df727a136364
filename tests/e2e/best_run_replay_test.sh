#!/usr/bin/env bash
# A player's best run of level 3 watched at launch (VORL_WATCH_LEVEL), the game quitting by itself
# when the replay ends. First a run whose records go on past its goal: the game says it no longer
# matches the level, and on which step the goal came. Then the same run cut at that step: it plays
# to the goal on its last record, under the "Replay" label.
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
expect_clean_exit "the replay"
