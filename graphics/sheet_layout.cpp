#include "graphics/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "graphics/texture_component.h"
#include "meta/data_diagnostics.h"
#include "meta/data_numbers.h"
#include "platform/graphics_device.h"

namespace {

// The visible span of a cell in the quad's texture coordinates.
constexpr float kShownWidth = SheetLayout::kCellWidth - 2.0f * SheetLayout::kInset;
constexpr float kShownHeight = SheetLayout::kCellHeight - 2.0f * SheetLayout::kInset;

std::vector<std::string> Words(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// Whole numbers from words[first...]; the problem in `error` when one is not.
bool WholeNumbers(const std::vector<std::string>& words, std::size_t first, int* out,
                  std::size_t count, std::string& error) {
    for (std::size_t i = 0; i < count; ++i) {
        const NumberResult r = ParseWhole(words[first + i], out[i]);
        if (!r.ok) {
            error = "\"" + words[first + i] + "\": " + r.error;
            return false;
        }
    }
    return true;
}

}  // namespace

SheetLayout SheetLayout::Grid(int width, int height) {
    SheetLayout layout;
    layout.width_ = width;
    layout.height_ = height;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    for (unsigned int f = 0; f < kFrames; ++f) {
        const Vector2D offset = FrameOffset(f);
        layout.frames_[f].present = true;
        layout.frames_[f].rect = {(offset.x + kInset) * w, (offset.y + kInset) * h, kShownWidth * w,
                                  kShownHeight * h};
    }
    return layout;
}

SheetLayout SheetLayout::Read(std::string_view text, int width, int height,
                              const std::string& file) {
    SheetLayout layout;
    layout.width_ = width;
    layout.height_ = height;
    layout.packed_ = true;
    bool anyFrame = false;
    bool quadGiven = false;
    int lineNumber = 0;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        const std::vector<std::string> words = Words(line);
        if (words.empty()) {
            continue;
        }
        std::string error;
        const std::string& key = words[0];
        int n[5] = {};
        if (key == "quad" && words.size() == 3 && WholeNumbers(words, 1, n, 2, error)) {
            if (n[0] <= 0 || n[1] <= 0) {
                error = "a quad needs a positive width and height";
            } else {
                layout.quad_ = {static_cast<float>(n[0]), static_cast<float>(n[1])};
                quadGiven = true;
            }
        } else if (key == "frame" && words.size() == 6 && WholeNumbers(words, 1, n, 5, error)) {
            if (n[0] < 0 || n[0] >= static_cast<int>(kFrames)) {
                error = "frame " + std::to_string(n[0]) + " is not on the 10 x 5 grid";
            } else if (n[3] <= 0 || n[4] <= 0 || n[1] < 0 || n[2] < 0 || n[1] + n[3] > width ||
                       n[2] + n[4] > height) {
                error = "frame " + std::to_string(n[0]) + " does not lie inside the " +
                        std::to_string(width) + " x " + std::to_string(height) + " image";
            } else if (layout.frames_[n[0]].present) {
                error = "frame " + std::to_string(n[0]) + " is placed twice; the first stays";
            } else {
                Frame& frame = layout.frames_[n[0]];
                frame.present = true;
                frame.rect = {static_cast<float>(n[1]), static_cast<float>(n[2]),
                              static_cast<float>(n[3]), static_cast<float>(n[4])};
                anyFrame = true;
            }
        } else if (key == "slice" && words.size() == 5 && WholeNumbers(words, 1, n, 4, error)) {
            if (std::min({n[0], n[1], n[2], n[3]}) < 0) {
                error = "slice borders cannot be negative";
            } else {
                layout.slice_ = Slice{static_cast<float>(n[0]), static_cast<float>(n[1]),
                                      static_cast<float>(n[2]), static_cast<float>(n[3])};
            }
        } else if (key == "mipmaps" && words.size() == 1) {
            layout.mipmaps_ = true;
        } else if (error.empty()) {
            error =
                "expected \"quad <w> <h>\", \"frame <f> <x> <y> <w> <h>\", "
                "\"slice <left> <right> <top> <bottom>\" or \"mipmaps\"";
        }
        if (!error.empty()) {
            DataDiagnostics::Report(file, 0,
                                    "sheet layout line " + std::to_string(lineNumber) + ": " +
                                        error + "; line skipped");
        }
    }
    if (!anyFrame) {
        DataDiagnostics::Report(file, 0,
                                "sheet layout places no frame; the image is read as a full sheet");
        return Grid(width, height);
    }
    if (!quadGiven) {
        // Without a size to compare with, the frames were drawn at one texel a pixel.
        for (const Frame& frame : layout.frames_) {
            if (frame.present) {
                layout.quad_ = {frame.rect.width, frame.rect.height};
                break;
            }
        }
    }
    return layout;
}

bool SheetLayout::HasFrame(unsigned int frame) const {
    return frame < kFrames && frames_[frame].present;
}

std::optional<SheetLayout::Rect> SheetLayout::FramePixels(unsigned int frame) const {
    if (!HasFrame(frame)) {
        return std::nullopt;
    }
    return frames_[frame].rect;
}

Matrix4 SheetLayout::FrameMatrix(unsigned int frame) const {
    Matrix4 m = Matrix4::Identity();
    if (!packed_ || !HasFrame(frame) || width_ <= 0 || height_ <= 0) {
        const Vector2D offset = FrameOffset(frame);
        m.m[2][0] = offset.x;
        m.m[2][1] = offset.y;
        return m;
    }
    // u' = u * su + tu takes the cell's visible span [inset, inset + shown] onto the rectangle.
    const Rect& r = frames_[frame].rect;
    const float su = r.width / static_cast<float>(width_) / kShownWidth;
    const float sv = r.height / static_cast<float>(height_) / kShownHeight;
    m.m[0][0] = su;
    m.m[1][1] = sv;
    m.m[2][0] = r.x / static_cast<float>(width_) - kInset * su;
    m.m[2][1] = r.y / static_cast<float>(height_) - kInset * sv;
    return m;
}

void SheetLayout::FindOpaqueFrames(const platform::Image& image) {
    if (image.width != width_ || image.height != height_ || mipmaps_) {
        return;
    }
    for (Frame& frame : frames_) {
        if (!frame.present) {
            continue;
        }
        const int x0 = std::max(0, static_cast<int>(std::floor(frame.rect.x)) - 1);
        const int y0 = std::max(0, static_cast<int>(std::floor(frame.rect.y)) - 1);
        const int x1 =
            std::min(width_, static_cast<int>(std::ceil(frame.rect.x + frame.rect.width)) + 1);
        const int y1 =
            std::min(height_, static_cast<int>(std::ceil(frame.rect.y + frame.rect.height)) + 1);
        bool opaque = x0 < x1 && y0 < y1;
        for (int y = y0; opaque && y < y1; ++y) {
            const std::uint8_t* row = &image.rgba[(static_cast<std::size_t>(y) * width_) * 4];
            for (int x = x0; x < x1; ++x) {
                if (row[x * 4 + 3] != 255) {
                    opaque = false;
                    break;
                }
            }
        }
        frame.opaque = opaque;
    }
}

bool SheetLayout::FrameIsOpaque(unsigned int frame) const {
    return HasFrame(frame) && frames_[frame].opaque;
}
