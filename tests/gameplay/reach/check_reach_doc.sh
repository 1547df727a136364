#!/usr/bin/env bash
# Usage: check_reach_doc.sh <reach-tool>   (run from the repository root)
# docs/reach.md must be exactly what the reach tool prints for the game's assets today: levels are
# built from those numbers, so a change to the player or the physics has to regenerate it.
set -euo pipefail
reach="$1"
if ! diff -u docs/reach.md <("$reach" assets --fallback tests/gameplay/reach/player_fallback); then
    echo "FAIL: docs/reach.md is out of date; regenerate it from the repository root with" >&2
    echo "  build/release/tools/reach assets --fallback tests/gameplay/reach/player_fallback > docs/reach.md" >&2
    exit 1
fi
echo "reach doc ok"
