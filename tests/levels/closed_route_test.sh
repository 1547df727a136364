#!/usr/bin/env bash
# Usage: closed_route_test.sh <input_script> <headless_runner> <assets> <route.script> <step>
# Plays a route that once won a level without its idea (closed_routes/<level>_<what>.script) at
# clock frame length <step>, and passes only when it does not win: a fall, the route's end or the time
# running out. The run goes on a few seconds past the route's last input, so a win that rolls in
# after it still counts.
set -euo pipefail
compiler="$1" runner="$2" assets="$3" route="$4" step="$5"
name="$(basename "$route" .script)"
level="${name%%_*}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: closed route $name at step $step: $*" >&2; exit 1; }

[[ "$level" =~ ^[0-9]+$ ]] || fail "the file name must start with the level number"
"$compiler" "$route" "$work/route.input" || fail "the route does not compile"
records=$(( $(stat -c %s "$work/route.input") / 16 ))
"$runner" "$assets" --level "$level" --input "$work/route.input" --step "$step" \
    --frames $(( records + 300 )) >"$work/log" 2>&1 || fail "the runner failed: $(cat "$work/log")"
grep -E '^frame [0-9]+: (LevelStarted|win|fall|recording ended|stars [0-9]+)' "$work/log" || true
grep -q -E '^frame [0-9]+: LevelStarted ' "$work/log" || fail "level $level never started"
if grep -q -E '^frame [0-9]+: win$' "$work/log"; then
    fail "the route wins level $level again"
fi
echo "closed route $name: no win at step $step"
