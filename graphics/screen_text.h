// ScreenText: short lines of text drawn over the game after every view, in the 1600 x 900 back
// buffer's pixels: the star counter, notices, a menu's question. Each owner (named by a key)
// replaces or clears its own lines whenever its state changes; they stay on screen until then.
// Text is drawn on a dark translucent plate so that it reads over any art (white on the plate
// over the palest sky still has a contrast of about 8:1), and not at all in an editor.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics_device.h"

namespace ScreenText {

struct Line {
    std::string text;
    // The top of the line; x is its left edge, or its centre when `centred`.
    int x = 0;
    int y = 0;
    bool centred = true;
    platform::Argb colour = 0xFFFFFFFFu;
    // Off for text that stands on a backing of its own, such as a menu row's bar.
    bool plated = true;
};

// The glyphs' cell height in pixels: a line below another sits this much lower.
inline constexpr int kLineHeight = 30;
// The plate behind every block of lines, and how far it reaches beyond them.
inline constexpr platform::Argb kPlate = 0xB0000000u;
inline constexpr int kPlateMargin = 8;

void Set(std::string_view owner, std::vector<Line> lines);
void Clear(std::string_view owner);
void ClearAll();
// Every owner's lines, owners in name order.
const std::map<std::string, std::vector<Line>, std::less<>>& All();
// The text of every line, in drawing order, one per entry (for tests and tools).
std::vector<std::string> Texts();

// Draws every line, each over its plate unless it has its own backing.
void DrawAll(platform::GraphicsDevice& device);

}  // namespace ScreenText
