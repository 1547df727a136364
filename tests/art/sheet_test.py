"""The sheet writer puts each frame where the game's texture coordinates will look for it."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "art", "kit"))
import sheet  # noqa: E402


class SheetLayout(unittest.TestCase):
    def test_the_visible_part_of_a_cell_holds_the_whole_quad_at_one_texel_per_pixel(self):
        for quad_w, quad_h in ((64, 64), (320, 160), (128, 640)):
            cell_w, cell_h = sheet.cell_size(quad_w, quad_h)
            self.assertGreaterEqual(cell_w * (1 - 2 * sheet.U_INSET), quad_w)
            self.assertLess(cell_w * (1 - 2 * sheet.U_INSET), quad_w + 1)
            self.assertGreaterEqual(cell_h * (1 - 2 * sheet.V_INSET), quad_h)
            self.assertLess(cell_h * (1 - 2 * sheet.V_INSET), quad_h + 1)

    def test_frames_fill_rows_of_ten_from_the_top_left(self):
        self.assertEqual(sheet.frame_origin(0, 68, 66), (0, 0))
        self.assertEqual(sheet.frame_origin(9, 68, 66), (612, 0))
        self.assertEqual(sheet.frame_origin(12, 68, 66), (136, 66))
        self.assertEqual(sheet.frame_origin(49, 68, 66), (612, 264))
        with self.assertRaises(ValueError):
            sheet.frame_origin(50, 68, 66)

    def test_a_sheet_is_ten_cells_wide_and_five_tall_whatever_its_frame_count(self):
        svg = sheet.sheet_svg(64, 64, ["<g/>"] * 3)
        cell_w, cell_h = sheet.cell_size(64, 64)
        self.assertIn(f'width="{cell_w * 10}" height="{cell_h * 5}"', svg)
        self.assertEqual(len(re.findall(r'clip-path="url\(#cell\)"', svg)), 3)
        with self.assertRaises(ValueError):
            sheet.sheet_svg(64, 64, [])

    def test_quad_units_map_onto_the_inset_region(self):
        transform = sheet.quad_transform(64, 64, 68, 66)
        tx, ty, sx, sy = map(float, re.findall(r"[-\d.]+", transform))
        self.assertAlmostEqual(tx, 68 * 0.025, places=3)
        self.assertAlmostEqual(ty, 66 * 0.0125, places=3)
        self.assertAlmostEqual(tx + 64 * sx, 68 * 0.975, places=3)
        self.assertAlmostEqual(ty + 64 * sy, 66 * 0.9875, places=3)


if __name__ == "__main__":
    unittest.main()
