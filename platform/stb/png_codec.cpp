// PNG decoding and encoding on the CPU. The stb implementations are compiled static into this one
// file so no other user of stb in the program can clash with them.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "platform/png_codec.h"

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

namespace {

// Takes stb's decoded pixels into `out` and frees them; false when there are none.
bool TakeDecoded(stbi_uc* pixels, int width, int height, Image& out) {
    if (!pixels) {
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

bool DecodePng(const std::string& path, Image& out) {
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    return TakeDecoded(pixels, width, height, out);
}

bool DecodePng(std::span<const std::uint8_t> bytes, Image& out) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                            &height, &channels, 4);
    return TakeDecoded(pixels, width, height, out);
}

bool PngSize(std::span<const std::uint8_t> bytes, int& width, int& height) {
    int channels = 0;
    return !bytes.empty() && bytes.size() <= static_cast<std::size_t>(INT32_MAX) &&
           stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                 &channels) != 0;
}

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// The CRC-32 of PNG chunks (ISO 3309, as zlib computes it).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace

std::optional<std::string> PngText(std::span<const std::uint8_t> bytes, std::string_view keyword) {
    if (bytes.size() < kPngSignature.size() ||
        !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
        return std::nullopt;
    }
    std::size_t at = kPngSignature.size();
    // Each chunk: length, type, data, CRC. Text chunks may come anywhere before the end.
    while (bytes.size() - at >= 12) {
        const std::uint32_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            return std::nullopt;
        }
        const std::uint8_t* type = &bytes[at + 4];
        const std::uint8_t* data = &bytes[at + 8];
        if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        if (std::memcmp(type, "tEXt", 4) == 0) {
            const auto* text = reinterpret_cast<const char*>(data);
            const std::string_view chunk(text, length);
            const std::size_t separator = chunk.find('\0');
            if (separator != std::string_view::npos && chunk.substr(0, separator) == keyword) {
                return std::string(chunk.substr(separator + 1));
            }
        }
        at += 12 + static_cast<std::size_t>(length);
    }
    return std::nullopt;
}

bool WritePngRgba(const std::string& path, const Image& image, std::string_view keyword,
                  std::string_view text) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        return false;
    }
    int length = 0;
    unsigned char* png = stbi_write_png_to_mem(image.rgba.data(), image.width * 4, image.width,
                                               image.height, 4, &length);
    if (!png) {
        return false;
    }
    // The text chunk goes straight after the header chunk (signature 8 bytes, IHDR 25).
    constexpr std::size_t kAfterHeader = 8 + 25;
    std::vector<std::uint8_t> chunk;
    AppendBigEndian32(chunk, static_cast<std::uint32_t>(keyword.size() + 1 + text.size()));
    chunk.insert(chunk.end(), {'t', 'E', 'X', 't'});
    chunk.insert(chunk.end(), keyword.begin(), keyword.end());
    chunk.push_back(0);
    chunk.insert(chunk.end(), text.begin(), text.end());
    AppendBigEndian32(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    const std::size_t size = static_cast<std::size_t>(length);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr;
    if (file) {
        written =
            std::fwrite(png, 1, kAfterHeader, file) == kAfterHeader &&
            std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size() &&
            std::fwrite(png + kAfterHeader, 1, size - kAfterHeader, file) == size - kAfterHeader;
        written = std::fclose(file) == 0 && written;
    }
    STBIW_FREE(png);
    return written;
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
