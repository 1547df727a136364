// Reading one image out of a Windows .ico file, for the window icon. An .ico is a directory of
// images, each either a device-independent bitmap (with its 1-bit transparency mask) or a PNG.
// Used by the desktop window at start-up; the game goes on without an icon when this fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"

namespace platform {

using IconImage = Image;

// Decodes the entry that is `size` x `size` pixels. Bitmaps of 1, 4, 8, 24 and 32 bits per pixel
// and PNG entries are understood. On failure returns false and says why in `error`.
bool DecodeIcoEntry(const std::vector<std::uint8_t>& file, int size, IconImage& image,
                    std::string& error);

// Reads `path` and decodes its `size` x `size` entry. A missing file is not an error (false, no
// output); any other failure is reported
// (platform/diagnostics.h) naming the file.
bool LoadIcoFile(const std::string& path, int size, IconImage& image);

}  // namespace platform
