#include "platform/letterbox.h"

#include <cmath>

namespace platform {

ViewportRect LetterboxRect(int windowWidth, int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) {
        return {};
    }
    ViewportRect rect;
    // Compare aspects in integers: width/height against 1600/900.
    if (static_cast<long long>(windowWidth) * kBackBufferHeight >
        static_cast<long long>(windowHeight) * kBackBufferWidth) {
        rect.height = windowHeight;
        rect.width = static_cast<int>(static_cast<long long>(windowHeight) * kBackBufferWidth /
                                      kBackBufferHeight);
    } else {
        rect.width = windowWidth;
        rect.height = static_cast<int>(static_cast<long long>(windowWidth) * kBackBufferHeight /
                                       kBackBufferWidth);
    }
    rect.x = (windowWidth - rect.width) / 2;
    rect.y = (windowHeight - rect.height) / 2;
    return rect;
}

void WindowToBackBuffer(const ViewportRect& rect, int windowX, int windowY, int& backX,
                        int& backY) {
    backX = static_cast<int>(
        std::floor(static_cast<double>(windowX - rect.x) * kBackBufferWidth / rect.width));
    backY = static_cast<int>(
        std::floor(static_cast<double>(windowY - rect.y) * kBackBufferHeight / rect.height));
}

}  // namespace platform
