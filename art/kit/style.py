"""The game's look in one place: the palette and the few shapes every sprite is built from.

Colour carries meaning: warm orange-red is the player; woods and sands are what the player may
jump from; slate blues and greys are walls; pale cyan is moving air; teal with brass is a cannon;
bright green is the goal; gold is a star; violet is a teleporter. Every gameplay shape has the same
dark outline (INK, OUTLINE wide at the size the game draws it) and edges stay crisp: the renderer
cuts alpha at 8 and does not sort, so soft fringes would show halos.

Run directly, this module writes nothing: it is a library for the generators beside it.
"""
import math

INK = "#2a2130"
OUTLINE = 3
FONT = "font-family=\"Liberation Sans\" font-weight=\"bold\""

PLAYER = {"fill": "#e8553a", "dark": "#c13b25", "light": "#ff8c66"}
PLAYER_HALF = {"fill": "#f7aa92", "dark": "#e88a70", "light": "#ffd9cb"}
WOOD = {"fill": "#c98a4b", "dark": "#9c6532", "light": "#e6ad6f", "grain": "#b07540"}
DARK_WOOD = {"fill": "#a86a38", "dark": "#7a4a24", "light": "#c98a52", "band": "#5e3a1f"}
SAND = {"fill": "#e2bf7e", "dark": "#c49652", "light": "#f3dba6", "crack": "#7a5a33"}
SLATE = {"fill": "#5b6b82", "dark": "#45536a", "light": "#7a8ba3", "seam": "#3a4658"}
AIR = {"streak": "#dcf8ff", "deep": "#6cc3dc"}
CANNON = {"fill": "#1f5c61", "dark": "#15444a", "light": "#2f7e84", "brass": "#d9a441",
          "brass_light": "#f2cc72"}
GOAL = {"fill": "#39d353", "dark": "#1f9a3a", "light": "#9bf2a8"}
STAR = {"fill": "#ffcf33", "dark": "#e0a31a", "light": "#fff1a8"}
PORTAL = {"fill": "#9457e0", "dark": "#6a36b0", "light": "#c9a3ff"}
PAPER = {"fill": "#f4ead6", "edge": "#d9c8a5", "text": "#2a2130"}


def num(value):
    return f"{value:.2f}".rstrip("0").rstrip(".")


def rect(x, y, w, h, fill, r=0, stroke=INK, width=OUTLINE, extra=""):
    """A rounded rectangle whose outline lies inside (x, y, w, h), so nothing spills over."""
    half = width / 2 if stroke != "none" else 0
    return (f'<rect x="{num(x + half)}" y="{num(y + half)}" width="{num(w - 2 * half)}" '
            f'height="{num(h - 2 * half)}" rx="{num(r)}" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{num(width)}" {extra}/>')


def circle(cx, cy, r, fill, stroke=INK, width=OUTLINE, extra=""):
    """A circle of outer radius r, its outline inside."""
    inner = r - width / 2 if stroke != "none" else r
    return (f'<circle cx="{num(cx)}" cy="{num(cy)}" r="{num(inner)}" fill="{fill}" '
            f'stroke="{stroke}" stroke-width="{num(width)}" {extra}/>')


def path(d, fill="none", stroke=INK, width=OUTLINE, extra=""):
    return (f'<path d="{d}" fill="{fill}" stroke="{stroke}" stroke-width="{num(width)}" '
            f'stroke-linejoin="round" stroke-linecap="round" {extra}/>')


def polygon(points, fill, stroke=INK, width=OUTLINE, extra=""):
    pts = " ".join(f"{num(x)},{num(y)}" for x, y in points)
    return (f'<polygon points="{pts}" fill="{fill}" stroke="{stroke}" stroke-width="{num(width)}" '
            f'stroke-linejoin="round" {extra}/>')


def text(x, y, content, size, fill=INK, anchor="middle"):
    return (f'<text x="{num(x)}" y="{num(y)}" {FONT} font-size="{num(size)}" fill="{fill}" '
            f'text-anchor="{anchor}">{content}</text>')


def arc(cx, cy, r, start_deg, end_deg):
    """Path data of a circular arc, angles in degrees clockwise from +x (screen y down)."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
    x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
    large = 1 if (end_deg - start_deg) % 360 > 180 else 0
    return f"M{num(x0)} {num(y0)} A{num(r)} {num(r)} 0 {large} 1 {num(x1)} {num(y1)}"


def star_points(cx, cy, outer, inner, points=5, turn=-90):
    """Corners of a star, the first tip at `turn` degrees."""
    corners = []
    for i in range(points * 2):
        radius = outer if i % 2 == 0 else inner
        angle = math.radians(turn + i * 180 / points)
        corners.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return corners


def shine(cx, cy, r, start=200, end=250, width=None, opacity=0.6):
    """The one soft highlight from the top left: a white arc inside a round shape."""
    w = width if width is not None else max(2.0, r * 0.16)
    return path(arc(cx, cy, r, start, end), stroke="#ffffff", width=w,
                extra=f'stroke-opacity="{opacity}"')
