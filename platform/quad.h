// The unit quad every sprite and square is drawn with: two triangles over x, y in [-1, 1] at
// z = 1. The texture coordinates span one cell of a 10 x 5 sprite sheet inset by 0.0025 and are
// mirrored in u (u is smallest at x = +1), which the negated world x and the mirroring camera undo.
// The colours (0xAARRGGBB) show only when a quad is drawn untextured without an effect.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

struct QuadVertex {
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};

// The texture coordinates the quad spans: the first cell of the sheet, inset.
inline constexpr float kQuadU0 = 0.0025f;
inline constexpr float kQuadU1 = 0.0975f;
inline constexpr float kQuadV0 = 0.0025f;
inline constexpr float kQuadV1 = 0.1975f;

inline constexpr std::array<QuadVertex, 6> kQuadVertices{{
    {1.0f, -1.0f, 1.0f, 0xFFFFFF00u, kQuadU0, kQuadV1},
    {1.0f, 1.0f, 1.0f, 0xFF00FFFFu, kQuadU0, kQuadV0},
    {-1.0f, 1.0f, 1.0f, 0xFF9CFF2Bu, kQuadU1, kQuadV0},
    {-1.0f, 1.0f, 1.0f, 0xFF5AFFFFu, kQuadU1, kQuadV0},
    {-1.0f, -1.0f, 1.0f, 0xFF86FF00u, kQuadU1, kQuadV1},
    {1.0f, -1.0f, 1.0f, 0xFFFFFF42u, kQuadU0, kQuadV1},
}};

}  // namespace platform
