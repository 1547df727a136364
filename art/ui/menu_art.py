#!/usr/bin/env python3
"""Writes the menu sheets beside itself: MenuButtons (every menu button, normal and hover) and
MenuPages (the how-to-play and credits pages), through the shared sheet writer. Standard library
only; the text is set in Liberation Sans Bold (Debian package fonts-liberation2), which
rsvg-convert finds through fontconfig.

Buttons are shown at 160 x 90 and pages at 1000 x 750 (and the credits page at 640 x 480 on the
final screen, hence mip levels). Both were first laid out in a cell of which the game showed only
the middle: 4 px left and right and 1.125 px top and bottom trimmed from a 160 x 90 button cell,
16 px and 6 px from a 640 x 480 page cell. Each frame maps that middle onto its quad, so the
pictures look as they always did, only drawn at the size they are shown.
"""
import os
import sys
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402

FONT = "font-family=\"Liberation Sans\" font-weight=\"bold\""
INK = "#1e2633"
PAPER = "#f3efe6"
PAPER_EDGE = "#d9d2c3"
HOVER_FILL = "#2c3a4f"
HOVER_INK = "#ffffff"
ACCENT = "#5a6f8c"

# (animation name, label lines) in sheet order; each takes two frames: normal, then hover.
BUTTONS = [
    ("MenuResume", ["Resume"]),
    ("MenuRestartLevel", ["Restart", "Level"]),
    ("MenuHowToPlay", ["How to", "Play"]),
    ("MenuOptions", ["Options"]),
    ("MenuQuit", ["Quit"]),
    ("MenuRestartGame", ["Restart", "Game"]),
    ("MenuCredits", ["Credits"]),
    ("MenuYes", ["Yes"]),
    ("MenuNo", ["No"]),
    ("MenuMusic", ["Music", "on / off"]),
    ("MenuSound", ["Sound", "on / off"]),
    ("MenuBack", ["Back"]),
    ("MenuContinue", ["Continue"]),
    ("MenuNewGame", ["New", "Game"]),
    ("MenuLevels", ["Levels"]),
]


def text(x, y, size, content, fill=INK, anchor="middle"):
    return (f'<text x="{x}" y="{y}" {FONT} font-size="{size}" fill="{fill}" '
            f'text-anchor="{anchor}">{escape(content)}</text>')


def button(x0, y0, lines, hover):
    """One 160 x 90 button cell with its top-left corner at (x0, y0)."""
    fill, ink = (HOVER_FILL, HOVER_INK) if hover else (PAPER, INK)
    out = [f'<rect x="{x0 + 9}" y="{y0 + 6}" width="142" height="78" rx="16" fill="{fill}" '
           f'stroke="{INK}" stroke-width="3"/>']
    if not hover:
        # The soft top-left highlight of the house style, kept inside the outline.
        out.append(f'<path d="M {x0 + 22} {y0 + 14} h 90" stroke="#ffffff" stroke-width="4" '
                   f'stroke-linecap="round"/>')
    else:
        # Pointers either side say "this one" without relying on colour alone.
        out.append(f'<path d="M {x0 + 15} {y0 + 36} l 9 9 l -9 9 z" fill="{HOVER_INK}"/>')
        out.append(f'<path d="M {x0 + 145} {y0 + 36} l -9 9 l 9 9 z" fill="{HOVER_INK}"/>')
    cx = x0 + 80
    if len(lines) == 1:
        out.append(text(cx, y0 + 54, 26, lines[0], ink))
    elif lines[1] == "on / off":
        out.append(text(cx, y0 + 45, 26, lines[0], ink))
        out.append(text(cx, y0 + 71, 18, lines[1], ink))
    else:
        out.append(text(cx, y0 + 41, 23, lines[0], ink))
        out.append(text(cx, y0 + 67, 23, lines[1], ink))
    return "\n".join(out)


def shown_part(cell_w, cell_h, quad_w, quad_h):
    """SVG transform taking the part of a layout cell the game showed onto the quad."""
    trim_x, trim_y = cell_w * 0.025, cell_h * 0.0125
    return (f"scale({quad_w / (cell_w - 2 * trim_x):.6f} {quad_h / (cell_h - 2 * trim_y):.6f}) "
            f"translate({-trim_x:.4f} {-trim_y:.4f})")


def buttons_sheet():
    frames = []
    fit = shown_part(160, 90, 160, 90)
    for _, lines in BUTTONS:
        for hover in (False, True):
            frames.append(f'<g transform="{fit}">{button(0, 0, lines, hover)}</g>')
    write_sheet(HERE, "MenuButtons", 160, 90, frames)


# Pages are laid out in 640 x 480 cells, the panel clear of the part the game trims.
PAGE_W, PAGE_H = 640, 480


def keycap(x, y, label):
    """A key cap whose left edge is x and whose text baseline is y; returns (svg, width)."""
    width = max(26, 9 * len(label) + 14)
    svg = (f'<rect x="{x}" y="{y - 16}" width="{width}" height="22" rx="5" fill="#ffffff" '
           f'stroke="{INK}" stroke-width="2"/>' + text(x + width / 2, y, 14, label))
    return svg, width


def pad_button(x, y, label):
    """A round gamepad button whose left edge is x; returns (svg, width)."""
    if len(label) > 1:
        width = 9 * len(label) + 16
        svg = (f'<rect x="{x}" y="{y - 16}" width="{width}" height="22" rx="11" fill="{INK}"/>' +
               text(x + width / 2, y, 13, label, HOVER_INK))
        return svg, width
    svg = (f'<circle cx="{x + 11}" cy="{y - 5}" r="12" fill="{INK}"/>' +
           text(x + 11, y, 15, label, HOVER_INK))
    return svg, 24


def inline(x, y, parts):
    """Lays out a row of key caps ('[K]'), pad buttons ('(A)') and words, left to right."""
    out = []
    for part in parts:
        if part.startswith("[") and part.endswith("]"):
            svg, width = keycap(x, y, part[1:-1])
        elif part.startswith("(") and part.endswith(")"):
            svg, width = pad_button(x, y, part[1:-1])
        else:
            svg = text(x, y, 14, part, INK, "start")
            width = int(7.2 * len(part))
        out.append(svg)
        x += width + 6
    return "\n".join(out)


def panel(x0, y0):
    return (f'<rect x="{x0 + 20}" y="{y0 + 10}" width="{PAGE_W - 40}" height="{PAGE_H - 20}" '
            f'rx="22" fill="{PAPER}" stroke="{INK}" stroke-width="3"/>')


def how_to_play(x0, y0):
    out = [panel(x0, y0), text(x0 + 320, y0 + 46, 28, "How to Play")]
    left, keys, pad = x0 + 38, x0 + 210, x0 + 430
    out.append(text(keys, y0 + 76, 16, "Keyboard", ACCENT, "start"))
    out.append(text(pad, y0 + 76, 16, "Gamepad", ACCENT, "start"))
    rows = [
        ("Move", ["[\u2190]", "[\u2192]", "or", "[A]", "[D]"], ["Left stick or D-pad"]),
        ("Jump", ["[\u2191]", "or", "[W]"], ["(A)"]),
        ("Switch form", ["[Space]"], ["(X)"]),
        ("Pause menu", ["[Esc]"], ["(Start)"]),
        ("In menus", ["[\u2191]", "[\u2193]", "[Enter]", "[Esc]", "back"], ["D-pad,", "(A)"]),
        ("Restart level", ["[R]"], ["Pause menu"]),
        ("Music on / off", ["[O]"], ["Pause menu, Options"]),
        ("Sound on / off", ["[P]"], ["Pause menu, Options"]),
    ]
    y = y0 + 102
    for label, keyboard, gamepad in rows:
        out.append(f'<path d="M {left} {y + 8} H {x0 + 602}" stroke="{PAPER_EDGE}" '
                   f'stroke-width="1.5"/>')
        out.append(text(left, y, 15, label, INK, "start"))
        out.append(inline(keys, y, keyboard))
        out.append(inline(pad, y, gamepad) if gamepad else text(pad, y, 14, "\u2014", INK, "start"))
        y += 26
    # As docs/reach.md measures them: the light form jumps 187 high, the full form 108, but the
    # full form rolls faster (481 against 342).
    forms = [
        ("Full form: heavy", ["Rolls fast; low jump", "Fans cannot move you",
                              "Breaks breakable blocks"]),
        ("Half form: light", ["High jump; rolls slower", "Fans carry you",
                              "Stands on breakable blocks"]),
    ]
    for column, (title, notes) in enumerate(forms):
        x = left + column * 290
        y = y0 + 314
        out.append(text(x, y, 16, title, ACCENT, "start"))
        for note in notes:
            y += 19
            out.append(text(x, y, 14, "\u2022 " + note, INK, "start"))
    out.append(text(left, y0 + 401, 14, "You can jump only from crates and blocks, never from walls.",
                    INK, "start"))
    # Only what a player uses: the testers' keys are in the README.
    out.append(inline(left, y0 + 431, ["[F12]", "screenshot", "[Alt]", "+", "[Enter]",
                                       "full screen"]))
    out.append(text(x0 + 600, y0 + 456, 13, "Esc, click or A: back", ACCENT, "end"))
    return "\n".join(out)


def credits(x0, y0):
    out = [panel(x0, y0), text(x0 + 320, y0 + 56, 34, "Vorl")]
    out.append(text(x0 + 320, y0 + 88, 17, "made by Team Vorl"))
    out.append(f'<path d="M {x0 + 170} {y0 + 104} H {x0 + 470}" stroke="{PAPER_EDGE}" '
               f'stroke-width="2"/>')
    out.append(text(x0 + 320, y0 + 130, 16, "Built on, with thanks", ACCENT))
    lines = [
        "SDL2 (zlib licence): window, input, gamepads",
        "libepoxy (MIT) + OpenGL: drawing",
        "OpenAL Soft (LGPL 2): sound",
        "Dear ImGui (MIT): the editor panels",
        "stb_image (public domain / MIT): pictures",
        "Liberation Sans (SIL OFL 1.1): the lettering",
        "FluidSynth (LGPL 2.1): the music, rendered",
        "FluidR3_GM sound font (MIT): the instruments",
        "librsvg (LGPL 2.1): the art, drawn as SVG",
        "GoogleTest, Google Benchmark (BSD 3): tests",
    ]
    y = y0 + 158
    for line in lines:
        out.append(text(x0 + 320, y, 15, line))
        y += 25
    out.append(text(x0 + 320, y0 + 428, 15, "Thank you for playing!"))
    out.append(text(x0 + 600, y0 + 456, 13, "Esc, click or A: back", ACCENT, "end"))
    return "\n".join(out)


def pages_sheet():
    fit = shown_part(PAGE_W, PAGE_H, 1000, 750)
    write_sheet(HERE, "MenuPages", 1000, 750,
                [f'<g transform="{fit}">{page(0, 0)}</g>' for page in (how_to_play, credits)],
                mipmaps=True)


if __name__ == "__main__":
    buttons_sheet()
    pages_sheet()
