#!/usr/bin/env bash
# Usage: tools_test.sh <level_inspector> <headless_runner>
# Writes a small assets folder, then checks the inspector's dump, diagnostics, exit status and
# round trip, and the runner's level transitions and positions.
set -euo pipefail
inspector="$1"
runner="$2"
assets="$(mktemp -d)"
trap 'rm -rf "$assets"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'Box\n' >"$assets/Objects"
printf 'Transform2D\nRigidBody2D mass 2.000000000 state 1 \n' >"$assets/Box"
printf 'Splash\n{\nTransform2D 0.0 0.0 0.0 1.0 1.0 0.0\n}\n' >"$assets/BrelSplashLevel"
cat >"$assets/level_Intro" <<'LEVEL'
Ground
{
Transform2D 0.000000000 -100.000000000 0.000000000 800.000000000 20.000000000 0.000000000
}
Falling Box
{
Transform2D 0.000000000 100.000000000 1.000000000 32.000000000 32.000000000 -0.785398245
RigidBody2D mass 1.000000000 velocity 0.000000000 0.000000000 state 1 active true bounciness 0.000000000 friction 100 gravity 600.000000000 
BoxCollider2D mHalfSize 0.000000000 0.000000000 mHollow false 
}
LEVEL

# A clean level: exit 0, every object dumped, and a byte-identical round trip.
"$inspector" "$assets" level_Intro --write level_Copy >"$assets/dump" 2>"$assets/errors" ||
    fail "inspector reported problems on a clean level: $(cat "$assets/errors")"
grep -q '^Object Falling Box$' "$assets/dump" || fail "dump lacks the box"
grep -q '^    int rotation -45$' "$assets/dump" || fail "dump lacks the rotation"
grep -q '^  RigidBody2D RigidBody2D$' "$assets/dump" || fail "dump lacks the rigid body"
cmp -s "$assets/level_Intro" "$assets/level_Copy" || fail "round trip changed the level"

# A bad line: one diagnostic naming file and line, the rest still dumped, exit 1.
printf 'Thing\n{\nTransform2D 1.0 2.0\nRigidBody2D mass 1.0 \n}\n' >"$assets/level_Bad"
if "$inspector" "$assets" level_Bad >"$assets/dump" 2>"$assets/errors"; then
    fail "inspector accepted a bad level"
fi
[ "$(wc -l <"$assets/errors")" -eq 1 ] || fail "expected one diagnostic: $(cat "$assets/errors")"
grep -q 'level_Bad:3: Transform2D needs six numbers' "$assets/errors" || fail "wrong diagnostic"
grep -q '^Object Thing$' "$assets/dump" || fail "the object after the bad line is missing"

# A refused name writes nothing.
if "$inspector" "$assets" level_Intro --write ../escaped >/dev/null 2>"$assets/errors"; then
    fail "a name outside the assets folder was accepted"
fi
[ ! -e "$assets/../escaped" ] || fail "a file was written outside the assets folder"

# The runner: start-up starts level 0; a chosen level starts instead; --until stops there.
out="$("$runner" "$assets" --frames 3)"
grep -q '^frame 2: LevelStarted BrelSplashLevel$' <<<"$out" || fail "runner: $out"
out="$("$runner" "$assets" --level level_Intro --until 2 --frames 50 --positions)"
grep -q '^frame 2: LevelStarted level_Intro$' <<<"$out" || fail "runner --level: $out"
out="$("$runner" "$assets" --level 2 --frames 30 --positions)"
first="$(grep 'position "Falling Box"' <<<"$out" | head -1 | awk '{print $NF}')"
last="$(grep 'position "Falling Box"' <<<"$out" | tail -1 | awk '{print $NF}')"
awk -v a="$first" -v b="$last" 'BEGIN { exit !(b < a) }' || fail "the box did not fall: $first -> $last"
if "$runner" "$assets" --until level_FinalScreen --frames 5 >/dev/null 2>&1; then
    fail "runner claimed an unreached level"
fi

# Textures come from the folder the tools are pointed at, wherever they run from. A sheet is
# read when something first shows it: here the splash.
printf 'sheet\n' >"$assets/TextureList"
printf 'sheet sheet\n' >"$assets/AnimationList"
printf 'Splash\n{\nTransform2D 0.0 0.0 0.0 1.0 1.0 0.0\nTextureComponent filename "sheet" \n}\n' \
    >"$assets/BrelSplashLevel"
base64 -d >"$assets/sheet.png" <<'PNG'
iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==
PNG
out="$(cd / && "$runner" "$assets" --frames 5)"
grep -q '^Texture sheet loaded$' <<<"$out" || fail "runner did not load the folder's texture: $out"

# Asking for help, or naming a folder or level that is not there, is answered plainly.
# Runs a tool that must refuse: exit status non-zero and $1 among its error lines.
expect_refusal() {
    local expected="$1"
    shift
    if "$@" >/dev/null 2>"$assets/errors"; then
        fail "$* was accepted"
    fi
    grep -q "$expected" "$assets/errors" || fail "$*: $(cat "$assets/errors")"
}
for tool in "$runner" "$inspector"; do
    "$tool" --help >"$assets/help" 2>&1 || fail "$tool --help failed"
    grep -q '^usage: ' "$assets/help" || fail "$tool --help printed no usage"
done
expect_refusal 'no assets folder' "$runner" "$assets/missing"
expect_refusal 'no assets folder' "$inspector" "$assets/missing" level_Intro
expect_refusal 'level_Missing: level file not found' "$inspector" "$assets" level_Missing
expect_refusal 'no level file' "$runner" "$assets" --level 5
echo "tools ok"
