"""The sheet writer packs only the frames a sheet has, at one texel a screen pixel, and its layout
says where each lies; the layout tool puts that into the PNG where the game reads it."""
import os
import re
import struct
import sys
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "art", "kit"))
import embed_layout  # noqa: E402
import sheet  # noqa: E402


def frames_of(layout):
    """{frame: (x, y, w, h)} from layout text."""
    places = {}
    for line in layout.splitlines():
        words = line.split()
        if words[0] == "frame":
            f, x, y, w, h = map(int, words[1:])
            places[f] = (x, y, w, h)
    return places


class SheetPacking(unittest.TestCase):
    def test_frames_are_stored_at_the_quads_size_with_clear_gutters_between_them(self):
        svg, layout = sheet.sheet(64, 48, ["<g/>"] * 5)
        places = frames_of(layout)
        self.assertEqual(sorted(places), [0, 1, 2, 3, 4])
        self.assertIn("quad 64 48", layout)
        for x, y, w, h in places.values():
            self.assertEqual((w, h), (64, 48))
            self.assertGreaterEqual(min(x, y), sheet.GUTTER)
        boxes = list(places.values())
        for i, a in enumerate(boxes):
            for b in boxes[i + 1:]:
                apart_x = a[0] + a[2] + 2 * sheet.GUTTER <= b[0] or b[0] + b[2] + 2 * sheet.GUTTER <= a[0]
                apart_y = a[1] + a[3] + 2 * sheet.GUTTER <= b[1] or b[1] + b[3] + 2 * sheet.GUTTER <= a[1]
                self.assertTrue(apart_x or apart_y, (a, b))
        width, height = map(int, re.search(r'width="(\d+)" height="(\d+)"', svg).groups())
        self.assertEqual((width % sheet.ALIGN, height % sheet.ALIGN), (0, 0))
        for x, y, w, h in boxes:
            self.assertLessEqual(x + w + sheet.GUTTER, width)
            self.assertLessEqual(y + h + sheet.GUTTER, height)

    def test_an_image_holds_no_more_slots_than_it_needs(self):
        for count in (1, 4, 6, 8, 20, 24):
            columns, rows = sheet.grid_for(count, 68, 68)
            self.assertEqual(columns * rows, count, count)
        # Three big frames fit the size limit only two by two, one slot left empty.
        self.assertEqual(sheet.grid_for(3, 1604, 1604), (2, 2))
        with self.assertRaises(ValueError):
            sheet.grid_for(2, sheet.MAX_SIZE, sheet.MAX_SIZE)

    def test_frames_keep_their_numbers_and_the_options_reach_the_layout(self):
        _, layout = sheet.sheet(32, 32, {3: "<g/>", 17: "<g/>"}, slice_borders=(4, 4, 2, 2),
                                mipmaps=True)
        self.assertEqual(sorted(frames_of(layout)), [3, 17])
        self.assertIn("slice 4 4 2 2\n", layout)
        self.assertTrue(layout.endswith("mipmaps\n"))
        with self.assertRaises(ValueError):
            sheet.sheet(32, 32, {50: "<g/>"})
        with self.assertRaises(ValueError):
            sheet.sheet(32, 32, [])

    def test_a_lower_resolution_stores_fewer_texels_for_the_same_quad(self):
        _, layout = sheet.sheet(100, 50, ["<g/>"], resolution=0.5)
        self.assertEqual(frames_of(layout)[0][2:], (50, 25))
        self.assertIn("quad 100 50", layout)


class LayoutChunk(unittest.TestCase):
    def png(self, *chunks):
        out = [embed_layout.SIGNATURE]
        for kind, body in chunks:
            out.append(embed_layout.chunk(kind, body))
        return b"".join(out)

    def test_the_layout_goes_after_the_header_and_replaces_an_older_one(self):
        header = struct.pack(">IIBBBBB", 2, 1, 8, 6, 0, 0, 0)
        image = zlib.compress(b"\0" + b"\0" * 8)
        original = self.png((b"IHDR", header), (b"tEXt", b"Vorl sheet\0old"),
                            (b"IDAT", image), (b"IEND", b""))
        once = embed_layout.embed(original, "frame 0 0 0 2 1\n")
        twice = embed_layout.embed(once, "frame 0 0 0 2 1\n")
        self.assertEqual(once, twice)
        kinds = [kind for kind, _ in embed_layout.chunks(once)]
        self.assertEqual(kinds, [b"IHDR", b"tEXt", b"IDAT", b"IEND"])
        text = dict(embed_layout.chunks(once))[b"tEXt"]
        self.assertEqual(text, b"Vorl sheet\0frame 0 0 0 2 1\n")
        with self.assertRaises(ValueError):
            embed_layout.embed(b"GIF89a", "")


ASSETS = os.path.join(os.path.dirname(__file__), "..", "..", "assets")


def decode_png(data, max_rows=None):
    """(width, rows of (r, g, b, a) tuples) of an 8-bit, non-interlaced RGB or RGBA PNG: its first
    `max_rows` rows, or all."""
    header, idat = None, b""
    for kind, body in embed_layout.chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("only 8-bit non-interlaced RGB(A)")
    channels = 4 if colour == 6 else 3
    stride = width * channels
    height = min(height, max_rows or height)
    raw = zlib.decompressobj().decompress(idat, height * (stride + 1))
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(line[x * channels:(x + 1) * channels]) for x in range(width)])
        previous = line
    return width, rows


class RepeatedBands(unittest.TestCase):
    def test_the_band_a_background_repeats_upward_holds_only_sky(self):
        """A picture cut into the band that repeats is stretched into a column above the level."""
        checked = 0
        for name in sorted(os.listdir(ASSETS)):
            if not name.endswith(".png"):
                continue
            with open(os.path.join(ASSETS, name), "rb") as f:
                data = f.read()
            layout = dict(embed_layout.chunks(data)).get(b"tEXt", b"").partition(b"\0")[2].decode()
            slice_line = re.search(r"^slice (\d+) (\d+) (\d+) (\d+)$", layout, re.M)
            if not slice_line:
                continue
            left, right, top, bottom = map(int, slice_line.groups())
            if left or right or not bottom:
                continue
            x0, y0, w, h = frames_of(layout)[0]
            _, rows = decode_png(data, y0 + h - bottom)
            for y in range(y0 + top, y0 + h - bottom):
                row = rows[y][x0:x0 + w]
                spread = max(max(c[i] for c in row) - min(c[i] for c in row) for i in range(3))
                self.assertLessEqual(spread, 2, f"{name}: row {y - y0} of the repeated band")
            checked += 1
        self.assertGreaterEqual(checked, 4, "the four backgrounds")


if __name__ == "__main__":
    unittest.main()
