#!/usr/bin/env bash
# Usage: levels_read_test.sh <level_inspector> <assets> <level-name>...
# Every shipped level reads without a single diagnostic.
set -uo pipefail
inspector="$1" assets="$2"
shift 2
failed=0
for level in "$@"; do
    if ! "$inspector" "$assets" "$level" >/dev/null 2>"/tmp/levels_read.$$"; then
        echo "FAIL: $level: $(cat "/tmp/levels_read.$$")" >&2
        failed=1
    fi
done
rm -f "/tmp/levels_read.$$"
exit "$failed"
