"""The player's sheets: the heavy full form, the light half form and the face that rides on the
full form. The player's quad is 64 x 64 (scale 32); its circle collider has radius 30.

The body carries spots near its rim so the roll reads; the face is a sprite of its own that stays
upright (the game turns only the body), so it holds the top-left highlight and the eyes.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402
from style import (INK, PLAYER, PLAYER_HALF, arc, circle, path, num, shine)  # noqa: E402

SIZE = 64
C = SIZE / 2


def rim_spots(colour, distance, radius, count=3, turn=-90):
    spots = []
    for i in range(count):
        a = math.radians(turn + i * 360 / count)
        spots.append(circle(C + distance * math.cos(a), C + distance * math.sin(a), radius,
                            colour, stroke="none"))
    return "".join(spots)


def full_form():
    return (circle(C, C, 30.5, PLAYER["fill"]) +
            rim_spots(PLAYER["dark"], 21, 4.2) +
            rim_spots(PLAYER["dark"], 22, 2.4, turn=-30))


def half_form(breath):
    """Paler and smaller, with three wisps around the middle that show the roll."""
    r = 26 + breath
    wisps = "".join(path(arc(C, C, 12, a, a + 70), stroke=PLAYER_HALF["dark"], width=3)
                    for a in (0, 120, 240))
    return (circle(C, C, r, PLAYER_HALF["fill"]) +
            rim_spots(PLAYER_HALF["dark"], r - 7, 2.6) + wisps +
            shine(C, C, r - 6, opacity=0.8))


def eye(x, y, openness):
    if openness <= 0:
        return path(f"M{num(x - 5)} {num(y + 1)} Q{num(x)} {num(y + 4)} {num(x + 5)} {num(y + 1)}",
                    width=2.5)
    ry = 6.5 * openness
    return (f'<ellipse cx="{num(x)}" cy="{num(y)}" rx="5" ry="{num(ry)}" fill="#ffffff" '
            f'stroke="{INK}" stroke-width="2"/>' +
            circle(x + 0.6, y + 1.2 * openness, 2.9 * min(1, openness + 0.3), INK, stroke="none") +
            circle(x - 1.2, y - 2 * openness, 1.1, "#ffffff", stroke="none"))


def face(openness):
    cheeks = (f'<ellipse cx="17.5" cy="38" rx="3.6" ry="2.4" fill="#ff9a86"/>'
              f'<ellipse cx="46.5" cy="38" rx="3.6" ry="2.4" fill="#ff9a86"/>')
    mouth = path("M26.5 40 Q32 45.5 37.5 40", width=2.5)
    return shine(C, C, 25, 195, 255, width=4, opacity=0.55) + cheeks + \
        eye(25, 29, openness) + eye(39, 29, openness) + mouth


def main():
    # The win spin shrinks the player and its face to nothing: mip levels keep them smooth.
    write_sheet(HERE, "VorlFull", SIZE, SIZE, [full_form()], mipmaps=True)
    write_sheet(HERE, "VorlHalf", SIZE, SIZE, [half_form(b) for b in (0, 0.5, 1, 0.5)],
                mipmaps=True)
    # Twenty frames at 0.15 s: a blink every three seconds.
    blink = {17: 0.45, 18: 0.0, 19: 0.45}
    write_sheet(HERE, "Face", SIZE, SIZE, [face(blink.get(i, 1.0)) for i in range(20)],
                mipmaps=True)


if __name__ == "__main__":
    main()
