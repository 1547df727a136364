#include "platform/pad_reading.h"

#include <gtest/gtest.h>

namespace {

TEST(PadReading, SticksTurnUpPositiveAndKeepTheirRange) {
    platform::PadReading r;
    r.leftX = -32768;
    r.leftY = -32768;  // pushed fully up
    r.rightX = 32767;
    r.rightY = 32767;  // pushed fully down
    const platform::ControllerState s = platform::ToControllerState(r);
    EXPECT_EQ(s.thumbLX, -32768);
    EXPECT_EQ(s.thumbLY, 32767);
    EXPECT_EQ(s.thumbRX, 32767);
    EXPECT_EQ(s.thumbRY, -32767);
    r.leftY = 1000;
    EXPECT_EQ(platform::ToControllerState(r).thumbLY, -1000);
}

TEST(PadReading, TriggersScaleToAByte) {
    platform::PadReading r;
    r.leftTrigger = 32767;
    r.rightTrigger = 0;
    platform::ControllerState s = platform::ToControllerState(r);
    EXPECT_EQ(s.leftTrigger, 255);
    EXPECT_EQ(s.rightTrigger, 0);
    r.leftTrigger = 16384;
    r.rightTrigger = -5;  // some drivers rest slightly below zero
    s = platform::ToControllerState(r);
    EXPECT_EQ(s.leftTrigger, 128);
    EXPECT_EQ(s.rightTrigger, 0);
}

TEST(PadReading, ButtonBitsPassThroughAndMatchXInput) {
    platform::PadReading r;
    r.buttons = platform::PadButton::A | platform::PadButton::Start | platform::PadButton::DPadUp;
    const platform::ControllerState s = platform::ToControllerState(r);
    EXPECT_EQ(s.buttons, 0x1000 | 0x0010 | 0x0001);
    EXPECT_EQ(s.packetNumber, 0u);
    EXPECT_EQ(platform::PadButton::Y, 0x8000);
    EXPECT_EQ(platform::PadButton::RightShoulder, 0x0200);
}

}  // namespace
