"""Big quiet pictures: one background per group of levels, the team's splash card and the gamepad
notice (both 800 x 450 on screen), each drawn at the size it is shown.

A background fills the 1600 x 900 screen. Levels wider or taller than the screen draw it bigger;
it then repeats sideways, mirrored so the hills run on without a seam, and its top rows (nearly
one colour of sky) stretch upward, so the picture never shows magnified.
"""
import math
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402
from style import INK, PLAYER, circle, num, path, rect, shine, text  # noqa: E402

W, H = 1600, 900
# The band at the top of a background that repeats upward when a level is taller than the screen.
SKY_ROWS = 8


def gradient(name, top, bottom):
    return (f'<linearGradient id="{name}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>')


def hills(base, amplitude, waves, phase, colour):
    points = [f"M-100 {H + 100}"]
    for i in range(-2, 35):
        x = W * i / 32
        y = base - amplitude * (0.6 * math.sin(x / W * waves * math.pi + phase) +
                                0.4 * math.sin(x / W * waves * 2.3 * math.pi + phase * 1.7))
        points.append(f"L{num(x)} {num(y)}")
    points.append(f"L{W + 100} {H + 100} Z")
    return f'<path d="{" ".join(points)}" fill="{colour}"/>'


# Nothing may reach into the band that repeats upward (SKY_ROWS) or it is stretched into a column
# above the level: shapes keep this far below it.
SKY_CLEARANCE = SKY_ROWS + 8


def clouds(seed, colour, count):
    rng = random.Random(seed)
    parts = []
    for _ in range(count):
        x, y, s = rng.uniform(0, W), rng.uniform(60, 380), rng.uniform(0.7, 1.4)
        # The highest puff (offset -18, radius 56) reaches 74 above the cloud's centre.
        y = max(y, SKY_CLEARANCE + 74 * s)
        for dx, dy, r in ((0, 0, 46), (50, -18, 56), (108, 0, 42), (54, 14, 50)):
            parts.append(f'<circle cx="{num(x + dx * s)}" cy="{num(y + dy * s)}" '
                         f'r="{num(r * s)}" fill="{colour}"/>')
    return "".join(parts)


def mesas(base, colour, seed):
    rng = random.Random(seed)
    parts, x = [], -80
    while x < W:
        width, height = rng.uniform(160, 340), rng.uniform(60, 170)
        parts.append(f'<path d="M{num(x)} {H} L{num(x + 30)} {num(base - height)} '
                     f'L{num(x + width - 30)} {num(base - height)} L{num(x + width)} {H} Z" '
                     f'fill="{colour}"/>')
        x += width + rng.uniform(40, 200)
    return "".join(parts)


def dim_stars(seed, count):
    rng = random.Random(seed)
    parts = []
    for _ in range(count):
        x, y, r = rng.uniform(0, W), rng.uniform(0, 520), rng.uniform(2.5, 5)
        y = max(y, SKY_CLEARANCE + r)
        parts.append(f'<circle cx="{num(x)}" cy="{num(y)}" r="{num(r)}" fill="#b7b4d6"/>')
    return "".join(parts)


def background(fill_id, layers):
    # Filled past the quad's edges so the scaled-up border never samples transparency.
    return f'<rect x="-100" y="-100" width="{W + 200}" height="{H + 200}" fill="url(#{fill_id})"/>' + layers


def backgrounds():
    sets = {
        "BackgroundTutorial": (("#c9dbe6", "#e6eee9"),
                               clouds(1, "#eef4f6", 5) + hills(640, 50, 2, 0.4, "#c3d6c9") +
                               hills(760, 40, 3, 1.9, "#b3c9b9")),
        "BackgroundFans": (("#d3d5d0", "#ecebe3"),
                           clouds(2, "#f3f2ec", 8) + hills(720, 35, 2.5, 2.2, "#c5c9bf") +
                           hills(800, 28, 4, 0.3, "#b8bdb2")),
        "BackgroundBlocks": (("#e3d6c4", "#efe6d8"),
                             mesas(720, "#d8c3a6", 3) + hills(800, 30, 3, 1.1, "#cdb595")),
        "BackgroundEnding": (("#5d5a8a", "#c9a9b8"),
                             dim_stars(4, 40) + hills(700, 45, 2, 2.8, "#8c7b9c") +
                             hills(790, 35, 3, 0.9, "#7a6b8c")),
    }
    for name, ((top, bottom), layers) in sets.items():
        write_sheet(HERE, name, W, H, [background("sky", layers)],
                    defs=gradient("sky", top, bottom), slice_borders=(0, 0, 0, H - SKY_ROWS))


def vorl_mascot(cx, cy, r):
    eyes = "".join(
        f'<ellipse cx="{num(cx + dx * r)}" cy="{num(cy - 0.1 * r)}" rx="{num(0.16 * r)}" '
        f'ry="{num(0.2 * r)}" fill="#ffffff" stroke="{INK}" stroke-width="{num(r * 0.06)}"/>' +
        circle(cx + dx * r + 0.02 * r, cy - 0.06 * r, 0.09 * r, INK, stroke="none")
        for dx in (-0.22, 0.22))
    mouth = path(f"M{num(cx - 0.18 * r)} {num(cy + 0.25 * r)} Q{num(cx)} {num(cy + 0.42 * r)} "
                 f"{num(cx + 0.18 * r)} {num(cy + 0.25 * r)}", width=r * 0.07)
    return (circle(cx, cy, r, PLAYER["fill"], width=r * 0.09) + shine(cx, cy, r * 0.78, width=r * 0.12)
            + eyes + mouth)


def card(fill):
    return rect(0, 0, 800, 450, fill, r=36, width=6)


def splash():
    return (card("#3b2f4a") + vorl_mascot(400, 170, 90) +
            text(400, 350, "TEAM VORL", 76, fill="#f6ede0") +
            text(400, 400, "presents", 30, fill="#d9c9e6"))


def gamepad(cx, cy, s):
    body = path(f"M{num(cx - 110 * s)} {num(cy - 40 * s)} Q{num(cx)} {num(cy - 70 * s)} "
                f"{num(cx + 110 * s)} {num(cy - 40 * s)} Q{num(cx + 170 * s)} {num(cy + 60 * s)} "
                f"{num(cx + 120 * s)} {num(cy + 80 * s)} Q{num(cx + 80 * s)} {num(cy + 90 * s)} "
                f"{num(cx + 50 * s)} {num(cy + 30 * s)} L{num(cx - 50 * s)} {num(cy + 30 * s)} "
                f"Q{num(cx - 80 * s)} {num(cy + 90 * s)} {num(cx - 120 * s)} {num(cy + 80 * s)} "
                f"Q{num(cx - 170 * s)} {num(cy + 60 * s)} {num(cx - 110 * s)} {num(cy - 40 * s)} Z",
                fill="#5b6b82", width=5)
    dpad = (rect(cx - 92 * s, cy - 14 * s, 48 * s, 16 * s, INK, r=3, stroke="none") +
            rect(cx - 76 * s, cy - 30 * s, 16 * s, 48 * s, INK, r=3, stroke="none"))
    buttons = "".join(circle(cx + (70 + dx) * s, cy + (-6 + dy) * s, 11 * s, "#f4ead6", width=3)
                      for dx, dy in ((0, -20), (0, 20), (-20, 0), (20, 0)))
    return body + dpad + buttons


def notice():
    return (card("#f4ead6") + gamepad(400, 170, 1.3) +
            text(400, 330, "A gamepad is recommended", 44) +
            text(400, 392, "Press any key to continue", 28, fill="#6a5d73"))


def main():
    backgrounds()
    write_sheet(HERE, "BrelSplash", 800, 450, [splash()])
    write_sheet(HERE, "XboxPreferred", 800, 450, [notice()])


if __name__ == "__main__":
    main()
