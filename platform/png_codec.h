// PNG files to and from images on the CPU (stb_image and stb_image_write, platform/stb/).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/image.h"

namespace platform {

bool DecodePng(const std::string& path, Image& out);
// The same from the bytes of a whole PNG file.
bool DecodePng(std::span<const std::uint8_t> bytes, Image& out);
// The width and height a PNG file's header gives, without decoding it.
bool PngSize(std::span<const std::uint8_t> bytes, int& width, int& height);
// The text of the first uncompressed text chunk ("tEXt") called `keyword`; none when there is no
// such chunk or the bytes are not a PNG.
std::optional<std::string> PngText(std::span<const std::uint8_t> bytes, std::string_view keyword);
// Writes RGB (alpha dropped: a screenshot is what the player saw). False on failure.
bool WritePngRgb(const std::string& path, const Image& image);
bool WritePngRgba(const std::string& path, const Image& image);
// RGBA with one text chunk `keyword` holding `text` (Latin-1, no NUL).
bool WritePngRgba(const std::string& path, const Image& image, std::string_view keyword,
                  std::string_view text);

}  // namespace platform
