#!/usr/bin/env bash
# Usage: input_script_test.sh <input_script>
# Compiles small scripts and checks the records byte for byte: held directions, one-frame taps
# with their release, frame counts, and that a bad step names its line and writes nothing.
set -euo pipefail
compiler="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Buttons of each record (bytes 4-5, little-endian) and the packet numbers (bytes 0-3), one a line.
buttons() { od -An -v -tx2 -w16 "$1" | awk '{print $3}'; }
packets() { od -An -v -tu4 -w16 "$1" | awk '{print $1}'; }

printf 'right 3, jump # a comment\nleft+switch 1,\n\nwait\n' >"$work/ok.script"
"$compiler" "$work/ok.script" "$work/ok.input" || fail "a good script was refused"
[ "$(stat -c %s "$work/ok.input")" = 128 ] || fail "expected 8 records of 16 bytes"
expected=$'0008\n0008\n0008\n1000\n0000\n4004\n0004\n0000'
[ "$(buttons "$work/ok.input")" = "$expected" ] ||
    fail "wrong buttons: $(buttons "$work/ok.input" | tr '\n' ' ')"
[ "$(packets "$work/ok.input" | tr '\n' ' ')" = "0 1 2 3 4 5 6 7 " ] || fail "packet numbers do not count"

# Every bad step is reported with its line; no recording is written.
printf 'right 3\nhop 2, right 0\nright 4 5\n' >"$work/bad.script"
if "$compiler" "$work/bad.script" "$work/bad.input" 2>"$work/errors"; then
    fail "a bad script was accepted"
fi
grep -q 'bad.script:2: unknown action "hop"' "$work/errors" || fail "unknown action not named: $(cat "$work/errors")"
grep -q 'bad.script:2: frame count "0"' "$work/errors" || fail "zero frames not refused"
grep -q 'bad.script:3: unexpected "5"' "$work/errors" || fail "extra word not refused"
[ ! -e "$work/bad.input" ] || fail "a bad script still wrote a recording"
echo "input_script: ok"
