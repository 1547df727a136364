#!/usr/bin/env bash
# clang-tidy (the checks in .clang-tidy) over the game's own sources, two at a time, using the
# compile commands of a build folder (default build/release; tools/build.sh makes it). Fails on
# any finding. Tests, benchmarks and the third-party sources of platform/stb are left out.
#   tools/tidy.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: run tools/build.sh first" >&2
  exit 2
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
# The compile commands are GCC's: clang is told not to mind the warning options it lacks.
log="$build/tidy.log"
git ls-files -- '*.cpp' | grep -E '^(core|meta|objects|levels|physics|graphics|input|gameplay|ui|audio|editor|engine|platform|game|tools)/' |
  xargs -P 2 -n 8 "$tidy" -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option \
    >"$log" 2>/dev/null || true
if grep -E '(warning|error):' "$log"; then
  echo "clang-tidy found the above (whole output in $log)" >&2
  exit 1
fi
echo "clang-tidy: clean"
