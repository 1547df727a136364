#!/usr/bin/env bash
# Rebuilds every PNG of the game from the vector sources under art/: each art/<group>/*.py
# generator runs first (it writes SVG files and their sheet layouts beside itself), then every
# art/**/<name>.svg is rendered at its own size to assets/<name>.png, with <name>.sheet, the
# layout saying where each frame lies, put inside the PNG (art/kit/sheet.py).
# Needs python3 and rsvg-convert (librsvg2-bin); players never run this: the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "make_art: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }

# art/kit holds the generators' shared library and tools, not generators.
for generator in art/*/*.py; do
  [ -e "$generator" ] && [[ "$generator" != art/kit/* ]] || continue
  python3 "$generator"
done

count=0
while IFS= read -r -d '' svg; do
  name="$(basename "$svg" .svg)"
  rsvg-convert "$svg" -o "assets/$name.png"
  layout="${svg%.svg}.sheet"
  [ -f "$layout" ] || { echo "make_art: $svg has no layout $layout" >&2; exit 1; }
  python3 art/kit/embed_layout.py "assets/$name.png" "$layout"
  count=$((count + 1))
done < <(find art -name '*.svg' -print0 | sort -z)
echo "make_art: rendered $count sheets into assets/"
