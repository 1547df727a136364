#!/usr/bin/env bash
# Screenshots of levels as the real game draws them, for docs/levels.md: each level started on
# its own (VORL_START_LEVEL) under xvfb-run at 1600 x 900, shot once it has settled, and saved at
# half size as docs/levels/<number>_<level name>.png.
# Usage: tools/level_shots.sh [build-folder] [level numbers...]   (default: build/release, 0..20)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
shift || true
levels=("$@")
[ ${#levels[@]} -gt 0 ] || levels=($(seq 0 20))
mapfile -t names < <(sed -n '/kLevelNames\|LevelTable()/,/};/p' objects/level_manager.cpp |
    grep -o '"[A-Za-z0-9_]*"' | tr -d '"')
mkdir -p docs/levels
for level in "${levels[@]}"; do
    name="${names[$level]}"
    # The splash and the notice move on by themselves: shoot them early.
    wait=9
    [ "$level" -le 1 ] && wait=4.5
    VORL_START_LEVEL="$level" VORL_NO_MESSAGE_BOXES=1 xvfb-run -a -s "-screen 0 1600x900x24 -noreset" \
        bash -c '"$0" >/dev/null 2>&1 & sleep "$1"; import -window root -resize 50% "$2"; kill $!' \
        "$PWD/$build/vorl" "$wait" "docs/levels/${level}_${name}.png"
    echo "docs/levels/${level}_${name}.png"
done
