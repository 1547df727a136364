#!/usr/bin/env bash
# Rebuilds every PNG of the game from the vector sources under art/: each art/<group>/*.py
# generator runs first (it may write SVG files beside itself), then every art/**/<name>.svg is
# rendered at its own size to assets/<name>.png. A sheet is one SVG on the 10 x 5 frame grid.
# Needs python3 and rsvg-convert (librsvg2-bin); players never run this: the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "make_art: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }

for generator in art/*/*.py; do
  [ -e "$generator" ] || continue
  python3 "$generator"
done

count=0
while IFS= read -r -d '' svg; do
  name="$(basename "$svg" .svg)"
  rsvg-convert "$svg" -o "assets/$name.png"
  count=$((count + 1))
done < <(find art -name '*.svg' -print0 | sort -z)
echo "make_art: rendered $count sheets into assets/"
