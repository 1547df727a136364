#!/usr/bin/env bash
# Renders the desktop icons of the hicolor theme from icons/vorl.svg: icons/<size>.png for every
# size the package installs. Needs rsvg-convert (librsvg2-bin); the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" vorl.svg -o "$size.png"
done
echo "make_icons: rendered $(ls ./*.png | wc -l) icons into packaging/icons/"
