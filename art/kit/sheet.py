"""Sprite-sheet writer shared by the art generators (standard library only).

A sheet is a 10 x 5 grid of equal cells; frame f sits in column f % 10, row f // 10. The game
draws one cell on a quad spanning twice the object's scale, but its texture coordinates are inset
(2.5 % of the cell width and 1.25 % of the cell height on each side), so only the middle of a cell
shows. A frame is drawn in "quad units": its own coordinate system the size of the quad on screen
(origin top left, y down), which the writer maps onto the visible part of the cell. Drawing at
resolution 1 gives one texel per screen pixel; big pictures use a lower resolution and are scaled
up by the game.

Run directly, this module writes nothing: it is a library for the generators beside it.
"""
import math
import os

COLUMNS = 10
ROWS = 5
U_INSET = 0.025  # of a cell's width, on each side
V_INSET = 0.0125  # of a cell's height, on each side


def cell_size(quad_w, quad_h, resolution=1.0):
    """Whole-pixel cell size whose visible part holds the quad at the given resolution."""
    return (math.ceil(quad_w * resolution / (1 - 2 * U_INSET)),
            math.ceil(quad_h * resolution / (1 - 2 * V_INSET)))


def frame_origin(frame, cell_w, cell_h):
    """Top-left pixel of a frame's cell on the sheet."""
    if not 0 <= frame < COLUMNS * ROWS:
        raise ValueError(f"frame {frame} is outside the 10 x 5 sheet")
    return (frame % COLUMNS) * cell_w, (frame // COLUMNS) * cell_h


def quad_transform(quad_w, quad_h, cell_w, cell_h):
    """SVG transform from quad units to the visible part of a cell."""
    sx = cell_w * (1 - 2 * U_INSET) / quad_w
    sy = cell_h * (1 - 2 * V_INSET) / quad_h
    return (f"translate({cell_w * U_INSET:.4f} {cell_h * V_INSET:.4f}) "
            f"scale({sx:.6f} {sy:.6f})")


def sheet_svg(quad_w, quad_h, frames, resolution=1.0, defs=""):
    """An SVG document holding `frames` (SVG fragments in quad units) on the 10 x 5 grid."""
    if not 1 <= len(frames) <= COLUMNS * ROWS:
        raise ValueError("a sheet holds 1 to 50 frames")
    cell_w, cell_h = cell_size(quad_w, quad_h, resolution)
    inner = quad_transform(quad_w, quad_h, cell_w, cell_h)
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{cell_w * COLUMNS}" '
        f'height="{cell_h * ROWS}" viewBox="0 0 {cell_w * COLUMNS} {cell_h * ROWS}">',
        f'<defs><clipPath id="cell"><rect width="{cell_w}" height="{cell_h}"/></clipPath>'
        f'{defs}</defs>',
    ]
    for index, body in enumerate(frames):
        x, y = frame_origin(index, cell_w, cell_h)
        parts.append(f'<g transform="translate({x} {y})"><g clip-path="url(#cell)">'
                     f'<g transform="{inner}">{body}</g></g></g>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def write_sheet(folder, name, quad_w, quad_h, frames, resolution=1.0, defs=""):
    """Writes <folder>/<name>.svg; the pipeline renders it to assets/<name>.png."""
    path = os.path.join(folder, name + ".svg")
    with open(path, "w", encoding="utf-8") as out:
        out.write(sheet_svg(quad_w, quad_h, frames, resolution, defs))
    return path
