#!/usr/bin/env bash
# Usage: draw_sizes_test.sh <headless_runner> <assets>
# Every picture is stored at the size it is drawn on the 1600 x 900 screen. The whole game is
# played by its solutions, the final screen shown and every menu screen opened, and each frame of
# each sheet that was drawn is checked against the largest and smallest it was drawn:
#   - never magnified more than 1.25 x (a sliced picture drawn bigger keeps its own texel size,
#     so for it the size it was made for counts);
#   - never stored more than 2 x larger than the largest it is drawn;
#   - drawn more than 1.25 x smaller than it is stored only with mip levels.
set -euo pipefail
runner="$1" assets="$2"
census="$(mktemp)"
trap 'rm -f "$census"' EXIT

"$runner" "$assets" --level 0 --until level_FinalScreen --solutions --step game --frames 100000 \
    --draw-sizes | grep '^drawn ' >>"$census"
"$runner" "$assets" --level level_FinalScreen --step game --frames 300 --draw-sizes |
    grep '^drawn ' >>"$census"
"$runner" "$assets" --level 2 --menus --step game --frames 600 --draw-sizes |
    grep '^drawn ' >>"$census"

# drawn <sheet> <frame> stored <w> <h> quad <w> <h> sliced <y|n> mipmaps <y|n> largest <w> <h> smallest <w> <h>
awk '
    {
        key = $2 " " $3
        stored_w[key] = $5 + 0; stored_h[key] = $6 + 0; quad_w[key] = $8 + 0; quad_h[key] = $9 + 0
        sliced[key] = $11; mipmaps[key] = $13
        if (!(key in big_w) || $15 + 0 > big_w[key]) big_w[key] = $15 + 0
        if (!(key in big_h) || $16 + 0 > big_h[key]) big_h[key] = $16 + 0
        if (!(key in small_w) || $18 + 0 < small_w[key]) small_w[key] = $18 + 0
        if (!(key in small_h) || $19 + 0 < small_h[key]) small_h[key] = $19 + 0
    }
    function check(key, axis, stored, quad, largest, smallest,    magnified) {
        magnified = (sliced[key] == "yes" && largest > quad) ? (quad / stored) : (largest / stored)
        if (magnified > 1.25) {
            printf "FAIL: %s drawn %.2f x magnified across its %s (%d stored, %.1f drawn)\n",
                key, magnified, axis, stored, largest
            bad = 1
        }
        if (stored > 2 * largest) {
            printf "FAIL: %s stored %d across its %s, more than twice the most it is drawn (%.1f)\n",
                key, stored, axis, largest
            bad = 1
        }
        if (smallest * 1.25 < stored && mipmaps[key] != "yes") {
            printf "FAIL: %s drawn at %.1f across its %s from %d stored, without mip levels\n",
                key, smallest, axis, stored
            bad = 1
        }
    }
    END {
        for (key in stored_w) {
            check(key, "width", stored_w[key], quad_w[key], big_w[key], small_w[key])
            check(key, "height", stored_h[key], quad_h[key], big_h[key], small_h[key])
            frames++
        }
        if (frames < 100) { print "FAIL: only " frames " frames were drawn"; bad = 1 }
        if (!bad) print frames " frames of the game checked: each stored at the size it is drawn"
        exit bad
    }' "$census"
