// A decoded picture on the CPU, as the codecs give it and the graphics device takes it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// An RGBA8 image, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

}  // namespace platform
