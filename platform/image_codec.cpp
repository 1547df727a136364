// PNG decoding and encoding on the CPU. The stb implementations are compiled static into this one
// file so no other user of stb in the program can clash with them.
#include <cstdio>

#include "platform/graphics_device.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace platform {

bool DecodePng(const std::string& path, Image& out) {
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) {
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

bool WritePngRgb(const std::string& path, const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        return false;
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
    for (std::size_t i = 0, n = rgb.size() / 3; i < n; ++i) {
        rgb[i * 3 + 0] = image.rgba[i * 4 + 0];
        rgb[i * 3 + 1] = image.rgba[i * 4 + 1];
        rgb[i * 3 + 2] = image.rgba[i * 4 + 2];
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(),
                          image.width * 3) != 0;
}

bool WritePngRgba(const std::string& path, const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        return false;
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(),
                          image.width * 4) != 0;
}

}  // namespace platform
