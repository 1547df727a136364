#include "platform/letterbox.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const platform::ViewportRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

TEST(Letterbox, TheBackBufferKeepsItsAspectCentredInAnyWindow) {
    ExpectRect(platform::LetterboxRect(1600, 900), 0, 0, 1600, 900);
    ExpectRect(platform::LetterboxRect(1920, 1080), 0, 0, 1920, 1080);
    ExpectRect(platform::LetterboxRect(2560, 1080), 320, 0, 1920, 1080);  // bars left and right
    ExpectRect(platform::LetterboxRect(1600, 1200), 0, 150, 1600, 900);   // bars above and below
    ExpectRect(platform::LetterboxRect(0, 0), 0, 0, 1600, 900);
}

TEST(Letterbox, WindowPixelsMapToBackBufferPixels) {
    const struct {
        int windowWidth, windowHeight, x, y;
        int backX, backY;
    } cases[] = {
        {1920, 1080, 960, 540, 800, 450}, {1920, 1080, 1919, 1079, 1599, 899},
        {2560, 1080, 320, 0, 0, 0},       {2560, 1080, 10, 540, -259, 450},  // over the left bar
        {1600, 900, 123, 456, 123, 456},
    };
    for (const auto& c : cases) {
        int x = 0;
        int y = 0;
        platform::WindowToBackBuffer(platform::LetterboxRect(c.windowWidth, c.windowHeight), c.x,
                                     c.y, x, y);
        EXPECT_EQ(x, c.backX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.backY) << c.x << "," << c.y;
    }
}

}  // namespace
