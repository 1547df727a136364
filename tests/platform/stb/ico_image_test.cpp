#include "platform/stb/ico_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/asset_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

const std::uint8_t kRgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

// A bitmap entry with `bits` per pixel. The colour is pixel (x, y) -> palette index or colour
// (x + 2y) % 4 of {red, green, blue, white}; the mask makes the top-left pixel transparent.
Bytes BitmapEntry(int size, int bits) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(size));
    Put32(b, static_cast<std::uint32_t>(size * 2));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    for (int i = 0; i < 6; ++i) {
        Put32(b, 0);
    }
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i) {
            for (int c = 0; c < 4; ++c) {  // BGRx
                b.push_back(i < 4 && c < 3 ? kRgb[i][2 - c] : 0);
            }
        }
    }
    const int rowBytes = ((size * bits + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < size; ++x) {
            const int index = (x + 2 * y) % 4;
            if (bits == 24 || bits == 32) {
                const int stride = bits / 8;
                for (int c = 0; c < 3; ++c) {
                    row[static_cast<std::size_t>(x * stride + c)] = kRgb[index][2 - c];
                }
                if (bits == 32) {
                    row[static_cast<std::size_t>(x * 4 + 3)] = (x == 0 && y == 0) ? 0 : 200;
                }
            } else {
                const int bit = x * bits;
                row[static_cast<std::size_t>(bit / 8)] |=
                    static_cast<std::uint8_t>((index & ((1 << bits) - 1)) << (8 - bits - bit % 8));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    const int maskBytes = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskBytes), 0);
        if (y == 0) {
            row[0] = 0x80;
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes IcoFile(const std::vector<std::pair<int, Bytes>>& entries) {
    Bytes file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [size, data] : entries) {
        const auto side = static_cast<std::uint8_t>(size);
        file.insert(file.end(), {side, side, 0, 0});  // width, height, colours, reserved
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<std::uint32_t>(data.size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(data.size());
    }
    for (const auto& entry : entries) {
        file.insert(file.end(), entry.second.begin(), entry.second.end());
    }
    return file;
}

void ExpectPattern(const platform::IconImage& image, bool exactAlpha) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p =
                &image.rgba[static_cast<std::size_t>((y * image.width + x) * 4)];
            const int index = (x + 2 * y) % 4;
            const int alpha = (x == 0 && y == 0) ? 0 : (exactAlpha ? 200 : 255);
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
                      (std::vector<int>{kRgb[index][0], kRgb[index][1], kRgb[index][2], alpha}))
                << x << "," << y;
        }
    }
}

// Every bitmap depth decodes top row first with the mask; the 32-pixel entry is picked among
// others, and only a 32-bit entry carries its own alpha.
TEST(IcoImage, EveryBitmapDepthDecodesTheRightEntryTopRowFirstWithTheMask) {
    for (int bits : {4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        const Bytes file = IcoFile({{16, BitmapEntry(16, bits)}, {32, BitmapEntry(32, bits)}});
        platform::IconImage image;
        std::string error;
        ASSERT_TRUE(platform::DecodeIcoEntry(file, 32, image, error)) << error;
        EXPECT_EQ(image.width, 32);
        EXPECT_EQ(image.height, 32);
        ExpectPattern(image, bits == 32);
    }
}

// "no 32x32 entry": the broken file below.
TEST(IcoImage, BadFilesSayWhatIsWrong) {
    platform::IconImage image;
    std::string error;
    EXPECT_FALSE(platform::DecodeIcoEntry({}, 32, image, error));
    EXPECT_EQ(error, "not an icon file");
    Bytes truncated = IcoFile({{32, BitmapEntry(32, 24)}});
    truncated.resize(truncated.size() - 200);
    EXPECT_FALSE(platform::DecodeIcoEntry(truncated, 32, image, error));
    EXPECT_EQ(error, "icon entry lies outside the file");
    Bytes lying = IcoFile({{32, BitmapEntry(16, 32)}});
    EXPECT_FALSE(platform::DecodeIcoEntry(lying, 32, image, error));
}

TEST(IcoImage, AMissingFileIsQuietlySkippedAndABrokenOneReportedByName) {
    testing_support::TempAssets scratch;
    testing_support::CapturedDiagnostics diagnostics;
    platform::IconImage image;
    EXPECT_FALSE(platform::LoadIcoFile("no/such/icon.ico", 32, image));
    EXPECT_TRUE(diagnostics.Lines().empty());
    const Bytes file = IcoFile({{16, BitmapEntry(16, 32)}});
    scratch.Write("broken.ico", std::string(file.begin(), file.end()));
    const std::string broken = (scratch.Folder() / "broken.ico").string();
    EXPECT_FALSE(platform::LoadIcoFile(broken, 32, image));
    EXPECT_EQ(diagnostics.Lines(),
              std::vector<std::string>{broken + ": no 32x32 entry; the window has no icon"});
}

TEST(IcoImage, TheGamesIconHasAnOpaqueCentreAndClearCorners) {
    const std::string path = std::string(VORL_SOURCE_DIR) + "/assets/Vorl1.ico";
    platform::IconImage image;
    ASSERT_TRUE(platform::LoadIcoFile(path, 32, image)) << path;
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.rgba[3], 0) << "top-left corner";
    EXPECT_EQ(image.rgba[(16 * 32 + 16) * 4 + 3], 255) << "centre";
}

}  // namespace
