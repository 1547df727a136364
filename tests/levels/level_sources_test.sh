#!/usr/bin/env bash
# Usage: level_sources_test.sh <repo>
# Every level source under art/levels compiles to exactly the level file committed in assets, so
# the short source is what ships; and the compiler refuses a bad line by file and line, writing
# nothing.
set -euo pipefail
repo="$1"
compose="$repo/tools/level_compose.py"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
shopt -s nullglob

for source in "$repo"/art/levels/*.level; do
    name="$(basename "$source" .level)"
    python3 "$compose" "$repo/assets" "$source" "$work/$name"
    if ! cmp -s "$work/$name" "$repo/assets/$name"; then
        echo "FAIL: assets/$name is not what art/levels/$name.level compiles to" >&2
        failed=1
    fi
done

printf 'Crate 0 -64 x4\nStar 10 20 StarComponent.Donut=1\nGoal 1 2 spin=3\n' >"$work/bad.level"
if python3 "$compose" "$repo/assets" "$work/bad.level" "$work/bad" 2>"$work/err"; then
    echo "FAIL: an unknown key compiled" >&2
    failed=1
fi
grep -q 'bad.level:3: unknown key "spin"' "$work/err" || { echo "FAIL: $(cat "$work/err")" >&2; failed=1; }
[[ ! -e "$work/bad" ]] || { echo "FAIL: a refused source left an output" >&2; failed=1; }

for line in '+ EndOfGame active false' 'Crate 0' 'Crate 0 1 scale=5' 'Rock 0 0' 'Star 0 0 StarComponent.nothing=1' 'Crate x 0'; do
    echo "$line" >"$work/one.level"
    if python3 "$compose" "$repo/assets" "$work/one.level" "$work/one" 2>/dev/null; then
        echo "FAIL: \"$line\" compiled" >&2
        failed=1
    fi
done

# A resized piece keeps its collider the size of its picture; a repeat steps one drawn width.
printf 'Crate:Wall 0 0 x2 scale=64,16\n' >"$work/wide.level"
python3 "$compose" "$repo/assets" "$work/wide.level" "$work/wide"
grep -c '^BoxCollider2D mHalfSize 64.000000000 16.000000000 ' "$work/wide" | grep -qx 2 ||
    { echo "FAIL: resized collider" >&2; failed=1; }
grep -q '^Transform2D 128.000000000 0.000000000 3.000000000 64.000000000 16.000000000 ' "$work/wide" ||
    { echo "FAIL: repeat spacing" >&2; failed=1; }
exit "$failed"
