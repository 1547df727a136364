"""Solid blocks: what the player may jump from ("Crate", "BreakBlock" and "Movable" families, in
woods and sands) and the walls and floors it may not (slate). One still frame each, drawn at the
size the archetype is placed (quad = twice the scale).

Levels also stretch the slate pieces to other sizes. Drawn bigger, a slate piece keeps its rim
(outline and rounded corners) at its size and repeats its middle; drawn smaller, it shrinks
through mip levels.
"""
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402
from style import (DARK_WOOD, INK, SAND, SLATE, WOOD, circle, num, path, polygon,  # noqa: E402
                   rect)


def crate(w, h, board=10):
    inner = (rect(board, board, w - 2 * board, h - 2 * board, WOOD["dark"], r=2, width=2) +
             path(f"M{board + 2} {h - board - 3} L{w - board - 2} {board + 3}",
                  stroke=WOOD["fill"], width=8) +
             path(f"M{board + 2} {h - board - 3} L{w - board - 2} {board + 3}", width=2))
    grain = "".join(path(f"M{4} {y} L{w - 4} {y}", stroke=WOOD["grain"], width=1.5)
                    for y in (5, h - 5))
    nails = "".join(circle(x, y, 1.8, INK, stroke="none")
                    for x in (5, w - 5) for y in (5, h - 5))
    return rect(0, 0, w, h, WOOD["fill"], r=4) + inner + grain + nails + \
        path(f"M5 4 L{w - 12} 4", stroke=WOOD["light"], width=2)


def sand_slab(w, h, seed, lip=10):
    rng = random.Random(seed)
    pebbles = "".join(
        f'<ellipse cx="{num(rng.uniform(12, w - 12))}" cy="{num(rng.uniform(lip + 10, h - 8))}" '
        f'rx="{num(rng.uniform(2, 5))}" ry="{num(rng.uniform(1.5, 3))}" fill="{SAND["dark"]}"/>'
        for _ in range(max(2, w * h // 2000)))
    top = rect(0, 0, w, lip + 6, SAND["light"], r=5)
    return (rect(0, 0, w, h, SAND["fill"], r=6) + pebbles + top +
            path(f"M8 4 L{w * 0.4} 4", stroke="#ffffff", width=2, extra='stroke-opacity="0.6"') +
            rect(0, 0, w, h, "none", r=6))


def break_block(w, h):
    """Sandstone that shows where it will crack."""
    cracks = path(f"M{w * 0.18} 3 L{w * 0.32} {h * 0.35} L{w * 0.22} {h * 0.55} "
                  f"L{w * 0.42} {h * 0.8} L{w * 0.38} {h - 3}", stroke=SAND["crack"], width=2.5) + \
        path(f"M{w * 0.32} {h * 0.35} L{w * 0.62} {h * 0.3} L{w * 0.72} {h * 0.5} L{w - 3} "
             f"{h * 0.46}", stroke=SAND["crack"], width=2.5) + \
        path(f"M{w * 0.72} {h * 0.5} L{w * 0.68} {h * 0.78}", stroke=SAND["crack"], width=2)
    chip = polygon([(w - 3, h - 16), (w - 3, h - 3), (w - 16, h - 3)], SAND["dark"], width=0,
                   stroke="none")
    bricks = path(f"M3 {h / 2} L{w * 0.18} {h / 2} M{w * 0.8} {h * 0.2} L{w - 3} {h * 0.2}",
                  stroke=SAND["dark"], width=2)
    return (rect(0, 0, w, h, "#d9ad6e", r=3) + bricks + chip + cracks +
            path(f"M5 5 L{w * 0.15} 5", stroke=SAND["light"], width=2) + rect(0, 0, w, h, "none",
                                                                               r=3))


def movable(w, h, emblem):
    band = max(6, w // 10)
    bands = (rect(0, h * 0.22 - band / 2, w, band, DARK_WOOD["band"], r=1, width=2) +
             rect(0, h * 0.78 - band / 2, w, band, DARK_WOOD["band"], r=1, width=2))
    planks = "".join(path(f"M{x} 4 L{x} {h - 4}", stroke=DARK_WOOD["dark"], width=2)
                     for x in (w / 3, 2 * w / 3))
    return rect(0, 0, w, h, DARK_WOOD["fill"], r=5) + planks + bands + emblem + \
        path(f"M6 5 L{w * 0.3} 5", stroke=DARK_WOOD["light"], width=2) + \
        rect(0, 0, w, h, "none", r=5)


def push_arrows(w, h):
    s = w / 64
    cx, cy = w / 2, h / 2
    return "".join(polygon([(cx + d * 7 * s, cy - 7 * s), (cx + d * 16 * s, cy),
                            (cx + d * 7 * s, cy + 7 * s)], SAND["light"], width=2)
                   for d in (-1, 1))


def return_arrow(w, h):
    cx, cy = w / 2, h / 2
    ring = path(f"M{cx + 10} {cy - 7} A12 12 0 1 0 {cx + 12} {cy + 4}", stroke=INK, width=7) + \
        path(f"M{cx + 10} {cy - 7} A12 12 0 1 0 {cx + 12} {cy + 4}", stroke=SAND["light"], width=3.5)
    head = polygon([(cx + 4, cy - 13), (cx + 16, cy - 12), (cx + 12, cy - 1)], SAND["light"],
                   width=2)
    return ring + head


# Outline and rounded corner of a slate piece, kept whole when the piece is drawn bigger.
SLATE_RIM = 8


def slate(w, h, seed):
    """Cool stone you cannot jump from: plain blocks with seams."""
    rng = random.Random(seed)
    course = min(32, h)
    seams = []
    for row, y in enumerate(range(course, int(h), course)):
        seams.append(path(f"M3 {y} L{w - 3} {y}", stroke=SLATE["seam"], width=2))
    for row in range(max(1, int(h // course))):
        x = 20 + rng.uniform(0, 40) + (row % 2) * 30
        while x < w - 12:
            y0 = row * course + 3
            seams.append(path(f"M{num(x)} {y0} L{num(x)} {min(h - 3, y0 + course - 6)}",
                              stroke=SLATE["seam"], width=2))
            x += rng.uniform(60, 110)
    return (rect(0, 0, w, h, SLATE["fill"], r=4) + "".join(seams) +
            path(f"M6 5 L{min(w - 6, w * 0.35)} 5", stroke=SLATE["light"], width=2.5) +
            rect(0, 0, w, h, "none", r=4))


def main():
    # Jumpable pieces stay square: the jump is granted only when the player is more above the
    # piece's centre than beside it, so a long piece would refuse it near its ends.
    write_sheet(HERE, "Crate", 64, 64, [crate(64, 64)])
    write_sheet(HERE, "CrateBig", 128, 128, [crate(128, 128, board=16)])
    write_sheet(HERE, "SandBlock", 64, 64, [sand_slab(64, 64, 1)])
    write_sheet(HERE, "SandBlockBig", 128, 128, [sand_slab(128, 128, 2, lip=14)])
    write_sheet(HERE, "BreakBlock", 64, 64, [break_block(64, 64)])
    write_sheet(HERE, "BreakBlockWide", 128, 64, [break_block(128, 64)])
    write_sheet(HERE, "Movable", 64, 64, [movable(64, 64, push_arrows(64, 64))])
    write_sheet(HERE, "MovableBig", 128, 128, [movable(128, 128, push_arrows(128, 128))])
    write_sheet(HERE, "MovableReset", 64, 64, [movable(64, 64, return_arrow(64, 64))])
    rim = (SLATE_RIM,) * 4
    write_sheet(HERE, "Wall", 64, 64, [slate(64, 64, 3)], slice_borders=rim)
    write_sheet(HERE, "WallLong", 512, 64, [slate(512, 64, 4)], slice_borders=rim, mipmaps=True)
    write_sheet(HERE, "WallTall", 64, 512, [slate(64, 512, 5)], slice_borders=rim, mipmaps=True)
    write_sheet(HERE, "WallGround", 1024, 128, [slate(1024, 128, 6)], slice_borders=rim,
                mipmaps=True)


if __name__ == "__main__":
    main()
