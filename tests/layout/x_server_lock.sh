#!/usr/bin/env bash
# Every test that starts an X server holds the "x_server" resource lock, and its xvfb-run keeps
# the server from resetting. A test starts one when its command runs xvfb-run or Xvfb, when a
# script in its command does, or when it is labelled e2e. Two X servers started together race for
# a display; and an Xvfb without -noreset resets whenever its last client leaves, refusing
# connections meanwhile, so a game started beside a polling xdotool can miss its display. Tests
# get both through vorl_add_x_server_test. Prints the offenders and fails.
set -euo pipefail
build="${1:?usage: x_server_lock.sh <build folder>}"
failed=0
while IFS=$'\t' read -r name locked e2e command; do
    starts_x=$e2e
    [[ "$command" =~ xvfb|Xvfb ]] && starts_x=1
    for word in $command; do
        case "$word" in
            *.sh | *.py) grep -vs '^ *#' "$word" | grep -Eq 'xvfb-run +-|Xvfb +:' && starts_x=1 ;;
        esac
    done
    [ "$starts_x" = 1 ] || continue
    if [ "$locked" != 1 ]; then
        echo "$name starts an X server without the x_server lock"
        failed=1
    fi
    if [[ "$command" =~ xvfb-run ]] && ! [[ "$command" =~ -noreset ]]; then
        echo "$name starts Xvfb without -noreset"
        failed=1
    fi
done < <(ctest --test-dir "$build" --show-only=json-v1 | jq -r '
  .tests[]
  | [ .name,
      ((.properties // []) | map(select(.name == "RESOURCE_LOCK") | .value | index("x_server"))
                           | any | if . then 1 else 0 end),
      ((.properties // []) | map(select(.name == "LABELS") | .value | index("e2e"))
                           | any | if . then 1 else 0 end),
      ((.command // []) | join(" ")) ]
  | @tsv')
[ "$failed" = 0 ] || exit 1
echo "every X server test holds the x_server lock and keeps its server from resetting"
