#include "platform/pad_reading.h"

#include <gtest/gtest.h>

namespace {

// Sticks turn to point up positive without overflowing; triggers fill a byte, and a driver resting
// slightly below zero reads as released. (The button bits and a full trigger are checked through
// SDL's pads.)
TEST(PadReading, SticksTurnUpPositiveAndTriggersScaleToAByte) {
    platform::PadReading r;
    r.buttons = platform::PadButton::A | platform::PadButton::Start;
    r.leftX = -32768;
    r.leftY = -32768;  // pushed fully up
    r.rightX = 32767;
    r.rightY = 32767;  // pushed fully down
    r.leftTrigger = 16384;
    r.rightTrigger = -5;
    const platform::ControllerState s = platform::ToControllerState(r);
    EXPECT_EQ(s.buttons, r.buttons);
    EXPECT_EQ(s.thumbLX, -32768);
    EXPECT_EQ(s.thumbLY, 32767);
    EXPECT_EQ(s.thumbRX, 32767);
    EXPECT_EQ(s.thumbRY, -32767);
    EXPECT_EQ(s.leftTrigger, 128);
    EXPECT_EQ(s.rightTrigger, 0);
}

}  // namespace
