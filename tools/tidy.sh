#!/usr/bin/env bash
# clang-tidy (the checks in .clang-tidy) over the game's own sources, two at a time, using the
# compile commands of a build folder (default build/release; tools/build.sh makes it). Fails on
# any finding. Tests, benchmarks and the third-party sources of platform/stb are left out.
# A source found clean is remembered (tools/tidy_keys.py) and checked again only once it or a
# header it includes changes: a full run takes many minutes of CPU, a run after a change seconds.
#   tools/tidy.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no $build/compile_commands.json: run tools/build.sh first" >&2
  exit 2
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
logs="$build/tidy"
clean="$logs/clean"
rm -rf "$logs/new"
mkdir -p "$logs/new"
touch "$clean"
git ls-files -- '*.cpp' | grep -E '^(core|meta|objects|levels|physics|graphics|input|gameplay|ui|audio|editor|engine|platform|game|tools)/' |
  python3 tools/tidy_keys.py "$build" "$tidy" >"$logs/keys"
awk 'FILENAME == ARGV[1] { known[$1] = 1; next } !($2 in known) { print $1 }' "$clean" "$logs/keys" >"$logs/todo"
echo "clang-tidy: $(wc -l <"$logs/todo") of $(wc -l <"$logs/keys") sources changed since found clean"
# The compile commands are GCC's: clang is told not to mind the warning options it lacks.
# A run that fails without a finding (a crash, a source it cannot parse) counts as one.
# shellcheck disable=SC2016
xargs -P 2 -I '{}' sh -c 'log="$2/new/$(echo "$3" | tr / _).log"
  "$0" -p "$1" --quiet --extra-arg=-Wno-unknown-warning-option "$3" >"$log" 2>&1 ||
    echo "error: clang-tidy failed on $3" >>"$log"' "$tidy" "$build" "$logs" '{}' <"$logs/todo"
found=0
while read -r source key; do
  log="$logs/new/$(echo "$source" | tr / _).log"
  [ -f "$log" ] || continue
  if grep -qE '(warning|error):' "$log"; then
    grep -v 'warnings\? generated\.$' "$log"
    found=1
  elif [ "$key" != - ]; then
    echo "$key" >>"$clean"
  fi
done <"$logs/keys"
if [ "$found" -ne 0 ]; then
  echo "clang-tidy found the above (each source's output in $logs/new)" >&2
  exit 1
fi
echo "clang-tidy: clean"
