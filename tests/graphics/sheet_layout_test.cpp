// Sheet layouts: the full grid keeps the texture matrices frames always had; a packed layout
// takes the quad's cell coordinates onto the frame's own rectangle, whatever the image's size.
#include "graphics/sheet_layout.h"

#include <gtest/gtest.h>

#include "platform/graphics_device.h"
#include "support/asset_folder.h"

namespace {

// The quad's texture coordinates at its two extreme corners, through a frame's matrix.
Vector2D Through(const Matrix4& m, float u, float v) {
    const Vector4D p = Transform({u, v, 1.0f}, m);
    return {p.x, p.y};
}

TEST(SheetLayout, APackedFrameMapsTheCellsVisiblePartOntoItsRectangle) {
    testing_support::CapturedDiagnostics diagnostics;
    const SheetLayout layout = SheetLayout::Read(
        "quad 64 32\nframe 0 2 2 64 32\nframe 13 70 2 64 32\nslice 4 5 6 7\nmipmaps\n", 136, 40,
        "Packed.png");
    EXPECT_TRUE(diagnostics.Lines().empty());
    EXPECT_TRUE(layout.IsPacked());
    ASSERT_TRUE(layout.GetSlice());
    EXPECT_EQ(layout.GetSlice()->left, 4.0f);
    EXPECT_EQ(layout.GetSlice()->bottom, 7.0f);
    EXPECT_FALSE(layout.HasFrame(50));
    // Frame 13's cell (column 3, row 1) as the quad addresses it before its matrix: the same
    // corners the full grid would use, with the offset left to the matrix.
    const Matrix4 m = layout.FrameMatrix(13);
    const Vector2D topLeft = Through(m, 0.0025f, 0.0025f);
    const Vector2D bottomRight = Through(m, 0.0975f, 0.1975f);
    EXPECT_NEAR(topLeft.x, 70.0f / 136, 1e-6f);
    EXPECT_NEAR(topLeft.y, 2.0f / 40, 1e-6f);
    EXPECT_NEAR(bottomRight.x, 134.0f / 136, 1e-6f);
    EXPECT_NEAR(bottomRight.y, 34.0f / 40, 1e-6f);
}

TEST(SheetLayout, AMalformedLineIsReportedAndSkipped) {
    struct Case {
        const char* line;
        const char* problem;
    };
    const Case cases[] = {
        {"frame 1 0 0 8", "expected \"quad"},
        {"frame 1 0 0 8 x", "\"x\": not a whole number"},
        {"frame 50 0 0 8 8", "frame 50 is not on the 10 x 5 grid"},
        {"frame 1 60 0 8 8", "frame 1 does not lie inside the 64 x 16 image"},
        {"frame 1 0 0 0 8", "does not lie inside"},
        {"frame 0 8 8 8 8", "frame 0 is placed twice; the first stays"},
        {"quad 0 16", "a quad needs a positive width and height"},
        {"slice 1 -1 0 0", "slice borders cannot be negative"},
        {"mipmaps please", "expected \"quad"},
        {"tiles 4", "expected \"quad"},
    };
    for (const Case& c : cases) {
        testing_support::CapturedDiagnostics diagnostics;
        const SheetLayout layout = SheetLayout::Read(
            std::string("quad 8 8\nframe 0 0 0 8 8\n") + c.line + "\n", 64, 16, "Bad.png");
        ASSERT_EQ(diagnostics.Lines().size(), 1u) << c.line;
        EXPECT_TRUE(diagnostics.Contains("Bad.png: sheet layout line 3: ")) << c.line;
        EXPECT_TRUE(diagnostics.Contains(c.problem)) << diagnostics.Lines()[0];
        // The good lines still hold.
        EXPECT_TRUE(layout.IsPacked()) << c.line;
        EXPECT_EQ(layout.FramePixels(0)->x, 0.0f) << c.line;
        EXPECT_FALSE(layout.HasFrame(1)) << c.line;
    }
}

TEST(SheetLayout, ALayoutWithoutFramesReadsAsTheFullGridAndAMissingQuadAsOneTexelAPixel) {
    testing_support::CapturedDiagnostics diagnostics;
    const SheetLayout empty = SheetLayout::Read("quad 8 8\n", 100, 50, "Empty.png");
    EXPECT_FALSE(empty.IsPacked());
    EXPECT_TRUE(empty.HasFrame(49));
    EXPECT_TRUE(diagnostics.Contains("Empty.png: sheet layout places no frame"));
    // The part of cell 12 that shows: column 2, row 1, inset 0.0025 of the whole image (where
    // TextureComponentTest's texture matrix puts the full grid's frames).
    const auto shown = empty.FramePixels(12);
    ASSERT_TRUE(shown);
    EXPECT_FLOAT_EQ(shown->x, 0.2025f * 100);
    EXPECT_FLOAT_EQ(shown->y, 0.2025f * 50);
    EXPECT_FLOAT_EQ(shown->width, 0.095f * 100);
    EXPECT_FLOAT_EQ(shown->height, 0.195f * 50);

    const SheetLayout noQuad = SheetLayout::Read("frame 3 0 0 24 12\n", 32, 16, "NoQuad.png");
    EXPECT_EQ(noQuad.QuadSize(), Vector2D(24.0f, 12.0f));
    EXPECT_FALSE(noQuad.Mipmaps());
    EXPECT_FALSE(noQuad.GetSlice());
}

TEST(SheetLayout, AFrameIsOpaqueOnlyWhenEveryTexelFilteringReachesIs) {
    platform::Image image;
    image.width = 30;
    image.height = 8;
    image.rgba.assign(static_cast<std::size_t>(image.width) * image.height * 4, 255);
    // Clear columns at 9 and 20; one barely see-through texel inside frame 2.
    for (int y = 0; y < image.height; ++y) {
        image.rgba[(static_cast<std::size_t>(y) * image.width + 9) * 4 + 3] = 0;
        image.rgba[(static_cast<std::size_t>(y) * image.width + 20) * 4 + 3] = 0;
    }
    image.rgba[(static_cast<std::size_t>(3) * image.width + 24) * 4 + 3] = 254;
    const std::string frames = "frame 0 0 0 8 8\nframe 1 10 0 9 8\nframe 2 21 0 8 8\n";
    SheetLayout layout = SheetLayout::Read(frames, 30, 8, "Opaque.png");
    layout.FindOpaqueFrames(image);
    EXPECT_TRUE(layout.FrameIsOpaque(0));
    // Opaque itself, but filtering at its edge reaches the clear column beside it.
    EXPECT_FALSE(layout.FrameIsOpaque(1));
    EXPECT_FALSE(layout.FrameIsOpaque(2));
    EXPECT_FALSE(layout.FrameIsOpaque(3));
    // Mip levels average the gutters in: nothing counts as opaque.
    SheetLayout mipmapped = SheetLayout::Read(frames + "mipmaps\n", 30, 8, "Opaque.png");
    mipmapped.FindOpaqueFrames(image);
    EXPECT_FALSE(mipmapped.FrameIsOpaque(0));
}

}  // namespace
