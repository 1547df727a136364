"""Signs planted in the levels: each names an action and shows the keyboard key beside the gamepad
button that does it. Quad 320 x 160 (scale 160 x 80): a paper board on a wooden post, text in
Liberation Sans Bold no smaller than 18 px.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "kit"))
from sheet import write_sheet  # noqa: E402
from style import DARK_WOOD, INK, PAPER, SLATE, circle, polygon, rect, text  # noqa: E402

W, H = 320, 160
BOARD_H = 124
ROW_Y = 54  # top of the key row


def key(x, label, width=46, size=24):
    """A key cap at x (left edge) on the key row; labels "<", ">", "^" draw arrows."""
    cap = rect(x, ROW_Y + 4, width, 44, "#bfb6a6", r=8, width=2.5) + \
        rect(x, ROW_Y, width, 42, "#ffffff", r=8, width=2.5)
    cx, cy = x + width / 2, ROW_Y + 21
    arrows = {"<": [(cx + 7, cy - 9), (cx - 9, cy), (cx + 7, cy + 9)],
              ">": [(cx - 7, cy - 9), (cx + 9, cy), (cx - 7, cy + 9)],
              "^": [(cx - 9, cy + 7), (cx, cy - 9), (cx + 9, cy + 7)]}
    if label in arrows:
        return cap + polygon(arrows[label], INK, width=1)
    return cap + text(cx, cy + size * 0.36, label, size)


def pad_button(cx, label):
    return circle(cx, ROW_Y + 22, 23, SLATE["dark"], width=2.5) + \
        text(cx, ROW_Y + 31, label, 24, fill="#ffffff")


def pad_pill(cx, label, width=96):
    return rect(cx - width / 2, ROW_Y + 2, width, 40, SLATE["dark"], r=20, width=2.5) + \
        text(cx, ROW_Y + 29, label, 20, fill="#ffffff")


def stick(cx):
    return circle(cx, ROW_Y + 22, 23, SLATE["dark"], width=2.5) + \
        circle(cx, ROW_Y + 22, 13, SLATE["light"], width=2) + \
        polygon([(cx - 33, ROW_Y + 22), (cx - 27, ROW_Y + 16), (cx - 27, ROW_Y + 28)], INK,
                width=1) + \
        polygon([(cx + 33, ROW_Y + 22), (cx + 27, ROW_Y + 16), (cx + 27, ROW_Y + 28)], INK,
                width=1)


def sign(title, keys, pad):
    post = rect(W / 2 - 14, BOARD_H - 10, 28, H - BOARD_H + 10, DARK_WOOD["fill"], r=4)
    board = rect(0, 0, W, BOARD_H, PAPER["fill"], r=14, width=3.5) + \
        rect(6, 6, W - 12, BOARD_H - 12, "none", r=10, stroke=PAPER["edge"], width=2)
    divider = text(W * 0.56, ROW_Y + 29, "or", 18, fill="#7a6d80")
    return post + board + text(W / 2, 40, title, 26) + keys + divider + pad


def main():
    signs = {
        "SignRoll": sign("ROLL", key(24, "<") + key(76, ">") + text(146, ROW_Y + 29, "A D", 18),
                         stick(248)),
        "SignJump": sign("JUMP", key(40, "^") + key(92, "W"), pad_button(248, "A")),
        "SignSwitch": sign("CHANGE FORM", key(24, "SPACE", width=132, size=20), pad_button(248, "X")),
        "SignPause": sign("MENU", key(52, "ESC", width=76, size=20), pad_pill(248, "START")),
    }
    for name, body in signs.items():
        write_sheet(HERE, name, W, H, [body])


if __name__ == "__main__":
    main()
