#include "platform/gl/texel_exact.h"

#include <cmath>

#include "platform/quad.h"

namespace platform {
namespace {

// How far from whole a coordinate may be and still count as whole: far below what a filter's
// 8-bit weights can show, far above float rounding of coordinates in the thousands.
constexpr float kWhole = 1.0f / 512.0f;

bool NearWhole(float value) {
    return std::fabs(value - std::round(value)) <= kWhole;
}

// How one axis of the picture lies over the quad: repeated (with borders, as picture fractions)
// or, at one repeat or less, stretched over it.
struct AxisSlice {
    float repeat = 1.0f;
    float low = 0.0f;
    float high = 0.0f;
};

// One axis: the quad's two edges in pixels and the picture's in texels. As many pixels as the
// texels repeated, every edge whole, and the borders too where the picture repeats.
bool AxisExact(float pixelLow, float pixelHigh, float texelLow, float texelHigh, AxisSlice slice) {
    const float pixelSpan = std::fabs(pixelHigh - pixelLow);
    const float texelSpan = std::fabs(texelHigh - texelLow);
    const bool repeats = slice.repeat > 1.0f;
    const float drawnSpan = repeats ? texelSpan * slice.repeat : texelSpan;
    return pixelSpan >= 1.0f && std::fabs(pixelSpan - drawnSpan) <= kWhole && NearWhole(pixelLow) &&
           NearWhole(pixelHigh) && NearWhole(texelLow) && NearWhole(texelHigh) &&
           (!repeats || (NearWhole(slice.low * texelSpan) && NearWhole(slice.high * texelSpan)));
}

}  // namespace

bool SamplesTexelCentres(const Matrix4& m, const Matrix4& t, PixelGrid pixels, TexelGrid texels,
                         const std::optional<QuadDraw::Slice>& slice) {
    if (pixels.width <= 0 || pixels.height <= 0 || texels.width <= 0 || texels.height <= 0) {
        return false;
    }
    // Unrotated on screen, with no perspective: x moves only clip x, y only clip y, w is fixed.
    const auto& r = m.m;
    if (r[0][1] != 0.0f || r[1][0] != 0.0f || r[0][3] != 0.0f || r[1][3] != 0.0f) {
        return false;
    }
    const float w = r[2][3] + r[3][3];
    // Unrotated in the texture: u moves only the texture's x, v only its y.
    if (w <= 0.0f || t.m[0][1] != 0.0f || t.m[1][0] != 0.0f) {
        return false;
    }
    const float centreX = r[2][0] + r[3][0];
    const float centreY = r[2][1] + r[3][1];
    auto pixelX = [&](float x) {
        return ((x * r[0][0] + centreX) / w + 1.0f) * 0.5f * pixels.width;
    };
    auto pixelY = [&](float y) {
        return ((y * r[1][1] + centreY) / w + 1.0f) * 0.5f * pixels.height;
    };
    auto texelX = [&](float u) { return (u * t.m[0][0] + t.m[2][0]) * texels.width; };
    auto texelY = [&](float v) { return (v * t.m[1][1] + t.m[2][1]) * texels.height; };
    AxisSlice across;
    AxisSlice down;
    if (slice) {
        across = {slice->repeatX, slice->left, slice->right};
        down = {slice->repeatY, slice->top, slice->bottom};
    }
    // x = -1 carries u1 and x = +1 carries u0; y = +1 carries v0 and y = -1 carries v1.
    return AxisExact(pixelX(-1.0f), pixelX(1.0f), texelX(kQuadU1), texelX(kQuadU0), across) &&
           AxisExact(pixelY(1.0f), pixelY(-1.0f), texelY(kQuadV0), texelY(kQuadV1), down);
}

}  // namespace platform
