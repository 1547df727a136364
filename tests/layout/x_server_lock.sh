#!/usr/bin/env bash
# Every test that starts an X server (its command runs xvfb-run or Xvfb, or it is labelled e2e)
# holds the "x_server" resource lock: two X servers started together race for a display. Tests
# get both through vorl_add_x_server_test. Prints the offenders and fails.
set -euo pipefail
build="${1:?usage: x_server_lock.sh <build folder>}"
offenders=$(ctest --test-dir "$build" --show-only=json-v1 | jq -r '
  .tests[]
  | select(
      ((.command // []) | map(test("xvfb|Xvfb")) | any)
      or ((.properties // []) | map(select(.name == "LABELS") | .value | index("e2e")) | any))
  | select((.properties // []) | map(select(.name == "RESOURCE_LOCK") | .value
                                     | index("x_server")) | any | not)
  | .name')
if [ -n "$offenders" ]; then
  echo "tests that start an X server without the x_server lock:"
  echo "$offenders"
  exit 1
fi
echo "every X server test holds the x_server lock"
