#!/usr/bin/env bash
# Redraws the kit sheet's pictures with the real renderer: every scene under docs/kit/scenes is a
# level file placing archetypes; each is drawn by kit_snapshot on top of the game's own assets
# (in a scratch folder, so assets/ is untouched) and the pictures land in docs/kit/img/.
# Needs a build (tools/build.sh release) and xvfb-run with Mesa's software rasteriser.
set -euo pipefail
cd "$(dirname "$0")/../.."
snapshot=build/release/tools/kit_snapshot
[ -x "$snapshot" ] || { echo "render_kit: build kit_snapshot first" >&2; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for file in assets/*; do ln -s "$PWD/$file" "$scratch/$(basename "$file")"; done
cp docs/kit/scenes/* "$scratch/"
mkdir -p docs/kit/img
for scene in docs/kit/scenes/*; do
  name="$(basename "$scene")"
  LIBGL_ALWAYS_SOFTWARE=1 VORL_NO_MESSAGE_BOXES=1 \
    xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$snapshot" "$scratch" "$name" "${FRAMES:-45}" docs/kit/img >/dev/null
done
echo "render_kit: pictures in docs/kit/img"
