#include "platform/gl/texel_exact.h"

#include <gtest/gtest.h>

#include "platform/quad.h"

namespace {

constexpr platform::PixelGrid kScreen{1600, 900};
constexpr platform::TexelGrid kSheet{256, 128};

// A quad placed as the renderer places one: `width` x `height` pixels with its left-top corner at
// (left, top) on the screen, showing the sheet's texels from (u, v), `texelsWide` x `texelsHigh`
// of them (negative mirrors), turned by `shear` of clip y per unit of x, sliced by `slice`.
struct Placement {
    const char* what;
    float left, top, width, height;
    float u, v, texelsWide, texelsHigh;
    float shear;
    bool exact;
    std::optional<platform::QuadDraw::Slice> slice = std::nullopt;
};

Matrix4 WorldViewProjection(const Placement& p) {
    Matrix4 m{};
    m.m[0][0] = p.width / kScreen.width;
    m.m[1][1] = p.height / kScreen.height;
    m.m[0][1] = p.shear;
    m.m[3][0] = (p.left + p.width / 2.0f) / kScreen.width * 2.0f - 1.0f;
    m.m[3][1] = (p.top + p.height / 2.0f) / kScreen.height * 2.0f - 1.0f;
    m.m[3][3] = 1.0f;
    return m;
}

// The quad's u runs from kQuadU1 at x = -1 to kQuadU0 at x = +1; v from kQuadV0 to kQuadV1.
Matrix4 TextureMatrix(const Placement& p) {
    Matrix4 t = Matrix4::Identity();
    t.m[0][0] = -p.texelsWide / kSheet.width / (platform::kQuadU1 - platform::kQuadU0);
    t.m[1][1] = p.texelsHigh / kSheet.height / (platform::kQuadV1 - platform::kQuadV0);
    t.m[2][0] = p.u / kSheet.width - platform::kQuadU1 * t.m[0][0];
    t.m[2][1] = p.v / kSheet.height - platform::kQuadV0 * t.m[1][1];
    return t;
}

TEST(TexelExact, OnlyOneTexelOnOnePixelAtWholeEdgesCountsAsExact) {
    // A picture wider than it was made repeats its middle, mirrored, between borders that keep
    // their size: exact only where the quad spans the repeats pixel for texel and the borders end
    // on texels.
    const platform::QuadDraw::Slice across{1.5f, 1.0f, 0.25f, 0.25f, 0, 0};
    const platform::QuadDraw::Slice both{2.0f, 1.5f, 0.125f, 0.125f, 0.25f, 0.25f};
    const platform::QuadDraw::Slice offTexel{1.5f, 1.0f, 0.2f, 0.25f, 0, 0};
    const Placement cases[] = {
        {"one to one at whole pixels", 736, 386, 128, 64, 2, 2, 128, 64, 0, true},
        {"the whole screen", 0, 0, 1600, 900, 0, 0, 1600, 900, 0, true},
        {"mirrored", 100, 100, 64, 64, 130, 2, -64, 64, 0, true},
        {"half a pixel off", 736.5f, 386, 128, 64, 2, 2, 128, 64, 0, false},
        {"a third of a texel off", 736, 386, 128, 64, 2.33f, 2, 128, 64, 0, false},
        {"magnified", 736, 386, 128, 64, 2, 2, 64, 32, 0, false},
        {"minified", 736, 386, 128, 64, 2, 2, 128, 128, 0, false},
        {"turned", 736, 386, 128, 64, 2, 2, 128, 64, 0.01f, false},
        {"under a pixel", 736, 386, 0.5f, 64, 2, 2, 0.5f, 64, 0, false},
        {"repeated 1.5 x across, whole borders", 0, 0, 192, 64, 2, 2, 128, 64, 0, true, across},
        {"repeated both ways", 0, 0, 256, 96, 2, 2, 128, 64, 0, true, both},
        {"a border ending inside a texel", 0, 0, 192, 64, 2, 2, 128, 64, 0, false, offTexel},
        {"drawn bigger than its repeats", 0, 0, 200, 64, 2, 2, 128, 64, 0, false, across},
    };
    for (const Placement& p : cases) {
        EXPECT_EQ(platform::SamplesTexelCentres(WorldViewProjection(p), TextureMatrix(p), kScreen,
                                                kSheet, p.slice),
                  p.exact)
            << p.what;
    }
}

TEST(TexelExact, NoGridOrPerspectiveIsNeverExact) {
    const Placement p{"", 0, 0, 128, 64, 2, 2, 128, 64, 0, true};
    EXPECT_FALSE(
        platform::SamplesTexelCentres(WorldViewProjection(p), TextureMatrix(p), {0, 0}, kSheet));
    EXPECT_FALSE(
        platform::SamplesTexelCentres(WorldViewProjection(p), TextureMatrix(p), kScreen, {}));
    Matrix4 perspective = WorldViewProjection(p);
    perspective.m[0][3] = 0.1f;
    EXPECT_FALSE(platform::SamplesTexelCentres(perspective, TextureMatrix(p), kScreen, kSheet));
}

}  // namespace
