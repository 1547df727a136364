#include "graphics/golden/golden_compare.h"
#include "platform/png_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace golden {
namespace {

constexpr int kReduction = 4;
// A reduced pixel differs when any channel is off by more than this...
constexpr int kChannelTolerance = 12;
// ...and a scene passes while at most this fraction of its pixels differ.
constexpr double kDifferingFraction = 0.002;

platform::Image Reduce(const platform::Image& full) {
    platform::Image small;
    small.width = full.width / kReduction;
    small.height = full.height / kReduction;
    small.rgba.assign(static_cast<std::size_t>(small.width) * small.height * 4, 255);
    std::vector<int> sums(small.rgba.size());
    for (int y = 0; y < small.height * kReduction; ++y) {
        for (int x = 0; x < small.width * kReduction; ++x) {
            for (int c = 0; c < 3; ++c) {
                sums[(static_cast<std::size_t>(y / kReduction) * small.width + x / kReduction) * 4 +
                     c] += full.rgba[(static_cast<std::size_t>(y) * full.width + x) * 4 + c];
            }
        }
    }
    for (std::size_t i = 0; i < sums.size(); ++i) {
        if (i % 4 != 3) {
            small.rgba[i] = static_cast<std::uint8_t>(sums[i] / (kReduction * kReduction));
        }
    }
    return small;
}

}  // namespace

void ExpectMatchesReference(const platform::Image& frame, const std::string& name,
                            const std::string& tag) {
    ASSERT_FALSE(frame.rgba.empty());
    const platform::Image actual = Reduce(frame);
    const std::filesystem::path reference = std::filesystem::path(VORL_SOURCE_DIR) / "tests" /
                                            "graphics" / "golden" / "references" / (name + ".png");
    if (std::getenv("VORL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(platform::WritePngRgb(reference.string(), actual));
        return;
    }
    platform::Image expected;
    const std::string actualPath = (std::filesystem::temp_directory_path() /
                                    ("vorl_golden_actual_" + name + "_" + tag + ".png"))
                                       .string();
    if (!platform::DecodePng(reference.string(), expected)) {
        platform::WritePngRgb(actualPath, actual);
        FAIL() << "no reference " << reference << "; this run's image is " << actualPath;
    }
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    int differing = 0;
    for (std::size_t i = 0; i < actual.rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(int{actual.rgba[i + c]} - int{expected.rgba[i + c]}) > kChannelTolerance) {
                ++differing;
                break;
            }
        }
    }
    const double fraction =
        static_cast<double>(differing) / (static_cast<double>(actual.width) * actual.height);
    if (fraction > kDifferingFraction) {
        platform::WritePngRgb(actualPath, actual);
    }
    EXPECT_LE(fraction, kDifferingFraction)
        << name << ": " << differing << " pixels differ; this run's image is " << actualPath;
}

}  // namespace golden
