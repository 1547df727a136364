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
    int x = 0;
    int y = 0;
    platform::WindowToBackBuffer(platform::LetterboxRect(1920, 1080), 960, 540, x, y);
    EXPECT_EQ(x, 800);
    EXPECT_EQ(y, 450);
    platform::WindowToBackBuffer(platform::LetterboxRect(1920, 1080), 1919, 1079, x, y);
    EXPECT_EQ(x, 1599);
    EXPECT_EQ(y, 899);
    const platform::ViewportRect wide = platform::LetterboxRect(2560, 1080);
    platform::WindowToBackBuffer(wide, 320, 0, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    platform::WindowToBackBuffer(wide, 10, 540, x, y);  // over the left bar
    EXPECT_LT(x, 0);
    platform::WindowToBackBuffer(platform::LetterboxRect(1600, 900), 123, 456, x, y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);
}

}  // namespace
