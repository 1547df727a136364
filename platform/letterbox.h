// Where the game's fixed 1600 x 900 back buffer sits inside a window of any size: as large as
// fits with its aspect kept, centred, bars on the other axis. The renderer draws into this
// rectangle and the window maps mouse positions back through it.
#pragma once

#include "core/screen.h"

namespace platform {

inline constexpr int kBackBufferWidth = Screen::kWidth;
inline constexpr int kBackBufferHeight = Screen::kHeight;

struct ViewportRect {
    int x = 0;
    int y = 0;
    int width = kBackBufferWidth;
    int height = kBackBufferHeight;
};

ViewportRect LetterboxRect(int windowWidth, int windowHeight);

// A window pixel to a back-buffer pixel (may fall outside 0..1599 / 0..899 over the bars).
void WindowToBackBuffer(const ViewportRect& rect, int windowX, int windowY, int& backX, int& backY);

}  // namespace platform
