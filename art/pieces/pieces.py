"""The puzzle pieces: fans (air streaks rise), cannons (brass rim pulses), the goal (breathes),
stars (glint), teleporters (swirl), the one-way platform's plank, the ending's catapult and the
star-fall plate. Quad sizes are the archetypes' scales doubled.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402
from style import (AIR, CANNON, DARK_WOOD, GOAL, INK, PORTAL, SAND, SLATE, STAR, WOOD,  # noqa
                   arc, circle, num, path, polygon, rect, shine, star_points)


def fan(w, h, frame, frames):
    """Air column with the fan unit at its bottom; the streaks climb one dash per loop."""
    body = []
    dash, gap = 30, 34
    period = dash + gap
    for i, x in enumerate((w * 0.17, w * 0.34, w * 0.5, w * 0.66, w * 0.83)):
        phase = (i * 23 + frame * period / frames) % period
        top_fade = 24
        y = h - 44 - phase + period
        while y > top_fade:
            y0, y1 = max(top_fade, y - dash), min(y, h - 54)
            width = 5 if i % 2 == 0 else 3.5
            if y1 - y0 > 4:
                # A deeper rim keeps the pale streak readable on a pale sky.
                line = f"M{num(x)} {num(y1)} L{num(x)} {num(y0)}"
                body.append(path(line, stroke=AIR["deep"], width=width + 3))
                body.append(path(line, stroke=AIR["streak"], width=width))
            y -= period
    housing = rect(4, h - 40, w - 8, 36, SLATE["dark"], r=8)
    grille = rect(14, h - 50, w - 28, 16, SLATE["light"], r=7)
    blades = []
    for k in range(3):
        offset = ((frame / frames + k / 3) % 1.0)
        bx = 18 + offset * (w - 36)
        scale = math.sin(offset * math.pi)
        blades.append(f'<ellipse cx="{num(bx)}" cy="{h - 42}" rx="{num(2 + 10 * scale)}" ry="5" '
                      f'fill="{AIR["deep"]}" stroke="{INK}" stroke-width="1.5"/>')
    vents = "".join(path(f"M{x} {h - 22} L{x + 14} {h - 22}", stroke=SLATE["seam"], width=3)
                    for x in range(22, w - 30, 22))
    return "".join(body) + housing + vents + grille + "".join(blades)


def cannon(frame, frames):
    s = 96
    glow = 0.5 + 0.5 * math.sin(frame / frames * 2 * math.pi)
    rim = CANNON["brass_light"] if glow > 0.6 else CANNON["brass"]
    base = circle(s / 2, 62, 30, CANNON["fill"])
    barrel = rect(s / 2 - 22, 10, 44, 56, CANNON["fill"], r=10)
    stripe = rect(s / 2 - 14, 24, 10, 36, CANNON["light"], r=4, stroke="none")
    mouth = rect(s / 2 - 27, 4, 54, 16, rim, r=6)
    hole = f'<ellipse cx="{s / 2}" cy="12" rx="17" ry="4" fill="{CANNON["dark"]}"/>'
    bolts = "".join(circle(s / 2 + dx, 78, 3.5, rim, width=1.5) for dx in (-16, 0, 16))
    chevron = path(f"M{s / 2 - 8} 46 L{s / 2} 38 L{s / 2 + 8} 46", stroke=rim, width=4)
    band = rect(s / 2 - 24, 54, 48, 9, rim, r=3, width=2)
    return base + barrel + stripe + band + mouth + hole + bolts + chevron


def goal(frame, frames):
    s = 96
    c = s / 2
    breath = math.sin(frame / frames * 2 * math.pi)
    r = 42 + 2.5 * breath
    ring = circle(c, c, r, GOAL["fill"], width=3)
    inner = circle(c, c, r - 11, GOAL["light"], width=2.5)
    core = circle(c, c, r - 22, "#ffffff", width=2.5)
    flag_pole = path(f"M{c - 6} {c + 13} L{c - 6} {c - 13}", width=3)
    flag = polygon([(c - 5, c - 13), (c + 10, c - 8), (c - 5, c - 2)], GOAL["dark"], width=2)
    return ring + inner + core + flag_pole + flag + shine(c, c, r - 5, opacity=0.7)


def star(size, frame):
    c = size / 2
    body = polygon(star_points(c, c + size * 0.03, size * 0.46, size * 0.21), STAR["fill"],
                   width=max(2.5, size / 20))
    inner = polygon(star_points(c, c + size * 0.04, size * 0.24, size * 0.11), STAR["light"],
                    stroke="none")
    glint = ""
    sparkle = {5: 0.5, 6: 1.0, 7: 0.5}.get(frame, 0)
    if sparkle:
        gx, gy, g = c - size * 0.18, c - size * 0.12, size * 0.2 * sparkle
        glint = polygon([(gx, gy - g), (gx + g * 0.25, gy - g * 0.25), (gx + g, gy),
                         (gx + g * 0.25, gy + g * 0.25), (gx, gy + g), (gx - g * 0.25, gy + g * 0.25),
                         (gx - g, gy), (gx - g * 0.25, gy - g * 0.25)], "#ffffff", width=1.2)
    return body + inner + glint


def portal(frame, frames, colours, size=96, reverse=False):
    c = size / 2
    turn = (frame / frames) * 120 * (-1 if reverse else 1)
    body = f'<ellipse cx="{c}" cy="{c}" rx="{c - 3}" ry="{c - 3}" fill="{colours["dark"]}" ' \
        f'stroke="{INK}" stroke-width="3"/>'
    arms = "".join(path(arc(c, c, radius, turn + k * 120 + radius * 4, turn + k * 120 + radius * 4
                            + 70), stroke=colours["light"], width=4)
                   for k in range(3) for radius in (c - 12, c - 22))
    core = circle(c, c, 10, colours["light"], width=2)
    return body + arms + core


def one_way(w, h):
    plank = rect(0, 0, w, h, WOOD["fill"], r=6)
    chevrons = "".join(path(f"M{x - 10} {h - 9} L{x} {9} L{x + 10} {h - 9}", stroke=SAND["light"],
                            width=4) for x in range(32, w - 16, 64))
    return plank + chevrons + path(f"M8 4 L{w * 0.3} 4", stroke=WOOD["light"], width=2)


def catapult():
    w, h = 192, 128
    base = rect(8, 88, 176, 22, DARK_WOOD["fill"], r=6)
    wheels = circle(40, 110, 15, DARK_WOOD["dark"]) + circle(152, 110, 15, DARK_WOOD["dark"]) + \
        circle(40, 110, 4, CANNON["brass"], width=1.5) + circle(152, 110, 4, CANNON["brass"],
                                                                 width=1.5)
    post = polygon([(86, 90), (96, 40), (106, 90)], DARK_WOOD["dark"])
    arm = path("M30 70 L168 30", stroke=INK, width=13) + path("M30 70 L168 30",
                                                              stroke=WOOD["fill"], width=8)
    cup = path("M150 22 Q166 46 184 20", fill=CANNON["brass"], width=3)
    axle = circle(96, 46, 7, CANNON["brass"], width=2)
    rope = path("M40 90 L40 68", stroke=SAND["dark"], width=3)
    return base + wheels + post + rope + arm + axle + cup


def starfall_plate():
    w, h = 128, 32
    plate = rect(0, 8, w, 24, SLATE["fill"], r=6)
    top = rect(10, 2, w - 20, 12, CANNON["brass"], r=5)
    emblem = polygon(star_points(w / 2, 17, 10, 4.5), STAR["fill"], width=2)
    return plate + top + emblem


def main():
    write_sheet(HERE, "Fan", 128, 384, [fan(128, 384, f, 4) for f in range(4)])
    write_sheet(HERE, "FanTall", 128, 640, [fan(128, 640, f, 4) for f in range(4)])
    write_sheet(HERE, "Cannon", 96, 96, [cannon(f, 6) for f in range(6)])
    write_sheet(HERE, "Goal", 96, 96, [goal(f, 8) for f in range(8)])
    write_sheet(HERE, "Star", 48, 48, [star(48, f) for f in range(8)])
    write_sheet(HERE, "StarEnd", 60, 60, [star(60, f) for f in range(8)])
    write_sheet(HERE, "Teleporter", 96, 96, [portal(f, 6, PORTAL) for f in range(6)])
    exit_colours = {"dark": "#b999ea", "light": "#efe4ff"}
    write_sheet(HERE, "TeleporterExit", 96, 96,
                [portal(f, 6, exit_colours, reverse=True) for f in range(6)])
    # Short one-way platforms draw the plank at half size.
    write_sheet(HERE, "OneWayPlank", 128, 32, [one_way(128, 32)], mipmaps=True)
    write_sheet(HERE, "Catapult", 192, 128, [catapult()])
    write_sheet(HERE, "StarfallPlate", 128, 32, [starfall_plate()])


if __name__ == "__main__":
    main()
