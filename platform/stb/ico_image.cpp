#include "platform/stb/ico_image.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <span>

#include "platform/diagnostics.h"
#include "platform/png_codec.h"

namespace platform {
namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;

std::uint32_t ReadU16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool IsPng(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

bool DecodePngEntry(const std::uint8_t* data, std::size_t size, IconImage& image,
                    std::string& error) {
    if (!DecodePng(std::span<const std::uint8_t>(data, size), image)) {
        error = "bad PNG entry";
        return false;
    }
    return true;
}

std::size_t RowBytes(int width, int bitsPerPixel) {
    return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// A bitmap entry: the header's height counts the colour rows and the mask rows together; rows
// are stored bottom to top, each padded to four bytes.
bool DecodeBitmap(const std::uint8_t* data, std::size_t size, IconImage& image,
                  std::string& error) {
    if (size < kBitmapHeaderSize || ReadU32(data) < kBitmapHeaderSize) {
        error = "bitmap entry too short";
        return false;
    }
    const std::uint32_t headerSize = ReadU32(data);
    const auto width = static_cast<std::int32_t>(ReadU32(data + 4));
    const auto doubledHeight = static_cast<std::int32_t>(ReadU32(data + 8));
    const std::uint32_t bits = ReadU16(data + 14);
    const std::uint32_t compression = ReadU32(data + 16);
    std::uint32_t paletteSize = ReadU32(data + 32);
    if (width <= 0 || width > 256 || doubledHeight <= 0 || doubledHeight > 512) {
        error = "bitmap entry has a bad size";
        return false;
    }
    if (compression != 0) {
        error = "compressed bitmap entries are not supported";
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        error = "bitmap entry has " + std::to_string(bits) + " bits per pixel";
        return false;
    }
    const int height = doubledHeight / 2;
    if (bits <= 8 && paletteSize == 0) {
        paletteSize = 1u << bits;
    }
    if (bits > 8) {
        paletteSize = 0;
    }
    const std::size_t paletteOffset = headerSize;
    const std::size_t colourOffset = paletteOffset + static_cast<std::size_t>(paletteSize) * 4;
    const std::size_t colourRow = RowBytes(width, static_cast<int>(bits));
    const std::size_t maskOffset = colourOffset + colourRow * height;
    const std::size_t maskRow = RowBytes(width, 1);
    // 32-bit entries may leave the mask out; every other depth needs it for transparency.
    const bool hasMask = maskOffset + maskRow * height <= size;
    if (maskOffset > size || (!hasMask && bits != 32)) {
        error = "bitmap entry is truncated";
        return false;
    }

    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    bool anyAlpha = false;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = data + colourOffset + colourRow * (height - 1 - row);
        std::uint8_t* dst = image.rgba.data() + static_cast<std::size_t>(row) * width * 4;
        for (int x = 0; x < width; ++x, dst += 4) {
            if (bits == 32) {
                dst[0] = src[x * 4 + 2];
                dst[1] = src[x * 4 + 1];
                dst[2] = src[x * 4 + 0];
                dst[3] = src[x * 4 + 3];
                anyAlpha = anyAlpha || dst[3] != 0;
                continue;
            }
            if (bits == 24) {
                dst[0] = src[x * 3 + 2];
                dst[1] = src[x * 3 + 1];
                dst[2] = src[x * 3 + 0];
                continue;
            }
            const std::size_t bitIndex = static_cast<std::size_t>(x) * bits;
            const std::uint32_t shift = 8 - bits - (bitIndex % 8);
            const std::uint32_t index = (src[bitIndex / 8] >> shift) & ((1u << bits) - 1);
            if (index >= paletteSize) {
                error = "bitmap entry uses a colour outside its palette";
                return false;
            }
            const std::uint8_t* colour = data + paletteOffset + index * 4;
            dst[0] = colour[2];
            dst[1] = colour[1];
            dst[2] = colour[0];
        }
    }
    // A 32-bit entry with any alpha carries its own transparency; otherwise the mask decides
    // (a set bit is transparent).
    if (bits == 32 && anyAlpha) {
        return true;
    }
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* mask =
            hasMask ? data + maskOffset + maskRow * (height - 1 - row) : nullptr;
        std::uint8_t* dst = image.rgba.data() + static_cast<std::size_t>(row) * width * 4;
        for (int x = 0; x < width; ++x) {
            const bool transparent = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
            dst[x * 4 + 3] = transparent ? 0 : 255;
        }
    }
    return true;
}

}  // namespace

bool DecodeIcoEntry(const std::vector<std::uint8_t>& file, int size, IconImage& image,
                    std::string& error) {
    if (file.size() < kDirectoryHeaderSize || ReadU16(file.data()) != 0 ||
        ReadU16(file.data() + 2) != 1) {
        error = "not an icon file";
        return false;
    }
    const std::uint32_t count = ReadU16(file.data() + 4);
    if (file.size() < kDirectoryHeaderSize + count * kDirectoryEntrySize) {
        error = "icon directory is truncated";
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = file.data() + kDirectoryHeaderSize + i * kDirectoryEntrySize;
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int height = entry[1] == 0 ? 256 : entry[1];
        if (width != size || height != size) {
            continue;
        }
        const std::uint32_t length = ReadU32(entry + 8);
        const std::uint32_t offset = ReadU32(entry + 12);
        if (offset > file.size() || length > file.size() - offset) {
            error = "icon entry lies outside the file";
            return false;
        }
        const std::uint8_t* data = file.data() + offset;
        const bool decoded = IsPng(data, length) ? DecodePngEntry(data, length, image, error)
                                                 : DecodeBitmap(data, length, image, error);
        if (decoded && (image.width != size || image.height != size)) {
            error = "icon entry's image is not the size its directory says";
            return false;
        }
        return decoded;
    }
    error = "no " + std::to_string(size) + "x" + std::to_string(size) + " entry";
    return false;
}

bool LoadIcoFile(const std::string& path, int size, IconImage& image) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    std::string error;
    if (!DecodeIcoEntry(bytes, size, image, error)) {
        ReportBadData(path, 0, error + "; the window has no icon");
        return false;
    }
    return true;
}

}  // namespace platform
