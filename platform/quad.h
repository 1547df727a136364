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

inline constexpr std::array<QuadVertex, 6> kQuadVertices{{
    {1.0f, -1.0f, 1.0f, 0xFFFFFF00u, 0.0025f, 0.1975f},
    {1.0f, 1.0f, 1.0f, 0xFF00FFFFu, 0.0025f, 0.0025f},
    {-1.0f, 1.0f, 1.0f, 0xFF9CFF2Bu, 0.0975f, 0.0025f},
    {-1.0f, 1.0f, 1.0f, 0xFF5AFFFFu, 0.0975f, 0.0025f},
    {-1.0f, -1.0f, 1.0f, 0xFF86FF00u, 0.0975f, 0.1975f},
    {1.0f, -1.0f, 1.0f, 0xFFFFFF42u, 0.0025f, 0.1975f},
}};

}  // namespace platform
