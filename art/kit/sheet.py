"""Sprite-sheet writer shared by the art generators (standard library only).

The game numbers frames on a 10 x 5 grid (frame f in column f % 10, row f // 10) and draws one
frame on a quad spanning twice the object's scale. A sheet stores only the frames it has, each at
the size the quad is drawn on screen at 1600 x 900 (one texel a pixel), packed close together in
a small image; a layout beside the SVG says where each frame lies, and tools/make_art.sh puts it
into the PNG where the game reads it (graphics/sheet_layout.h says what the game makes of it).

A frame is drawn in "quad units": its own coordinate system the size of the quad on screen
(origin top left, y down). Each frame keeps a clear gutter around it, so that filtering never
reaches a neighbour; whatever a frame draws past its edges shows in its gutter, which a picture
that fills its quad (a background) should do so that its edges filter like its inside.

Run directly, this module writes nothing: it is a library for the generators beside it.
"""
import math
import os

COLUMNS = 10
ROWS = 5
GUTTER = 2  # texels around each frame
ALIGN = 4  # frame slots start on multiples of this, so two mip levels keep frames apart
MAX_SIZE = 4096  # the widest and tallest image any OpenGL 3.3 driver worth having takes


def frame_size(quad_w, quad_h, resolution=1.0):
    """Whole-texel size of a frame drawn for a quad of quad_w x quad_h screen pixels."""
    return math.ceil(quad_w * resolution), math.ceil(quad_h * resolution)


def slot_size(frame_w, frame_h):
    """A frame with its gutter, rounded up to the alignment."""
    def up(n):
        return (n + 2 * GUTTER + ALIGN - 1) // ALIGN * ALIGN
    return up(frame_w), up(frame_h)


def grid_for(count, slot_w, slot_h):
    """Columns and rows for `count` slots: fewest empty slots, then closest to square."""
    best = None
    for columns in range(1, count + 1):
        rows = math.ceil(count / columns)
        width, height = columns * slot_w, rows * slot_h
        if width > MAX_SIZE or height > MAX_SIZE:
            continue
        key = (columns * rows - count, max(width, height))
        if best is None or key < best[0]:
            best = (key, columns, rows)
    if best is None:
        raise ValueError(f"{count} frames of {slot_w} x {slot_h} do not fit a {MAX_SIZE} image")
    return best[1], best[2]


def layout_text(quad_w, quad_h, places, slice_borders=None, mipmaps=False):
    """The layout the game reads: the quad's size, each frame's rectangle, the options."""
    lines = [f"quad {quad_w} {quad_h}"]
    lines += [f"frame {frame} {x} {y} {w} {h}" for frame, (x, y, w, h) in places]
    if slice_borders:
        lines.append("slice " + " ".join(str(b) for b in slice_borders))
    if mipmaps:
        lines.append("mipmaps")
    return "\n".join(lines) + "\n"


def sheet(quad_w, quad_h, frames, resolution=1.0, defs="", slice_borders=None, mipmaps=False):
    """The packed SVG and its layout text for `frames` (SVG fragments in quad units; frame
    numbers 0, 1, 2... in order, or a dict from frame number to fragment).

    slice_borders: (left, right, top, bottom) in quad pixels kept at their size when the picture
    is drawn bigger than its quad, while its middle repeats (mirrored) instead of stretching.
    mipmaps: the picture is also drawn smaller than its quad somewhere in the game.
    """
    numbered = sorted(frames.items()) if isinstance(frames, dict) else list(enumerate(frames))
    if not 1 <= len(numbered) <= COLUMNS * ROWS:
        raise ValueError("a sheet holds 1 to 50 frames")
    for frame, _ in numbered:
        if not 0 <= frame < COLUMNS * ROWS:
            raise ValueError(f"frame {frame} is outside the 10 x 5 grid")
    frame_w, frame_h = frame_size(quad_w, quad_h, resolution)
    slot_w, slot_h = slot_size(frame_w, frame_h)
    columns, rows = grid_for(len(numbered), slot_w, slot_h)
    width, height = columns * slot_w, rows * slot_h
    sx, sy = frame_w / quad_w, frame_h / quad_h
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}">',
        f'<defs><clipPath id="slot"><rect x="{-GUTTER}" y="{-GUTTER}" '
        f'width="{frame_w + 2 * GUTTER}" height="{frame_h + 2 * GUTTER}"/></clipPath>'
        f'{defs}</defs>',
    ]
    places = []
    for index, (frame, body) in enumerate(numbered):
        x = (index % columns) * slot_w + GUTTER
        y = (index // columns) * slot_h + GUTTER
        places.append((frame, (x, y, frame_w, frame_h)))
        parts.append(f'<g transform="translate({x} {y})"><g clip-path="url(#slot)">'
                     f'<g transform="scale({sx:.6f} {sy:.6f})">{body}</g></g></g>')
    parts.append("</svg>")
    svg = "\n".join(parts) + "\n"
    return svg, layout_text(quad_w, quad_h, places, slice_borders, mipmaps)


def write_sheet(folder, name, quad_w, quad_h, frames, resolution=1.0, defs="",
                slice_borders=None, mipmaps=False):
    """Writes <folder>/<name>.svg and <folder>/<name>.sheet (its layout); the pipeline renders
    the first to assets/<name>.png and puts the second inside it."""
    svg, layout = sheet(quad_w, quad_h, frames, resolution, defs, slice_borders, mipmaps)
    path = os.path.join(folder, name + ".svg")
    with open(path, "w", encoding="utf-8") as out:
        out.write(svg)
    with open(os.path.join(folder, name + ".sheet"), "w", encoding="utf-8") as out:
        out.write(layout)
    return path
