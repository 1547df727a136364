// Whether a quad's picture lands on the screen one texel on one pixel, each pixel's centre on a
// texel's centre. There a linear filter reads exactly the one texel a nearest filter reads, so the
// cheaper nearest filter draws the same pixels. A software rasteriser pays for the difference on
// every pixel: this is what lets a still level draw for about half the work.
#pragma once

#include <optional>

#include "core/matrix.h"
#include "platform/graphics_device.h"

namespace platform {

struct PixelGrid {
    int width = 0;  // of the viewport the quad is drawn into, in pixels
    int height = 0;
};

struct TexelGrid {
    int width = 0;  // of the texture, in texels
    int height = 0;
};

// `worldViewProjection` takes the unit quad (x, y in [-1, 1] at z = 1, row vectors) to clip space;
// `textureMatrix` takes its texture coordinates into the texture (offsets in row 2). True only for
// an unrotated quad whose edges fall on whole pixels and whole texels, with as many texels as
// pixels across each axis (mirroring is fine); anything in doubt answers false, the linear filter.
// A sliced picture counts its repeats: its borders must also end on whole texels, so that the
// mirrored middle folds between texels.
bool SamplesTexelCentres(const Matrix4& worldViewProjection, const Matrix4& textureMatrix,
                         PixelGrid pixels, TexelGrid texels,
                         const std::optional<QuadDraw::Slice>& slice = std::nullopt);

}  // namespace platform
