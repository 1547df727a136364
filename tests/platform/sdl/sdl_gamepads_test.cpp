// The SDL gamepads against SDL's own virtual controllers: button bits, axes, plugging and rumble
// as the game sees them, without hardware or a window.
#include "platform/sdl/sdl_gamepads.h"

#include <gtest/gtest.h>

#include "input/input_system.h"
#include "platform/virtual_gamepad.h"
#include "support/headless_engine.h"
#include "support/skip_or_fail.h"

namespace {

using platform::ControllerState;
using platform::VirtualGamepad;

class SdlGamepadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        pads = platform::MakeSdlGamepads();
        first = VirtualGamepad::Plug();
        if (!first) {
            VORL_SKIP_OR_FAIL_UNDER_CI("this SDL offers no virtual controllers");
        }
    }
    // Unplugged in reverse order of declaration, before the pads close.
    std::unique_ptr<platform::Gamepads> pads;
    std::unique_ptr<VirtualGamepad> first;
    std::unique_ptr<VirtualGamepad> second;
};

TEST_F(SdlGamepadsTest, EveryButtonLandsOnItsXInputBit) {
    // SDL's button numbering (A, B, X, Y, Back, Guide, Start, sticks, shoulders, D-pad up, down,
    // left, right) against the XInput bits, both written out from their own documentation.
    const std::uint16_t xinput[VirtualGamepad::kButtons] = {0x1000, 0x2000, 0x4000, 0x8000, 0x0020,
                                                            0x0400, 0x0010, 0x0040, 0x0080, 0x0100,
                                                            0x0200, 0x0001, 0x0002, 0x0004, 0x0008};
    ControllerState state;
    ASSERT_TRUE(pads->Read(0, state));
    EXPECT_EQ(state.buttons, 0);
    for (int button = 0; button < VirtualGamepad::kButtons; ++button) {
        const std::uint32_t packet = state.packetNumber;
        first->SetButton(button, true);
        ASSERT_TRUE(pads->Read(0, state));
        EXPECT_EQ(state.buttons, xinput[button]) << "button " << button;
        EXPECT_EQ(state.packetNumber, packet + 1) << "a change moves the packet number";
        ASSERT_TRUE(pads->Read(0, state));
        EXPECT_EQ(state.packetNumber, packet + 1) << "no change, no new packet";
        first->SetButton(button, false);
        ASSERT_TRUE(pads->Read(0, state));
    }
}

TEST_F(SdlGamepadsTest, SticksPointUpPositiveAndTriggersFillAByte) {
    ControllerState state;
    ASSERT_TRUE(pads->Read(0, state));
    EXPECT_EQ(state.leftTrigger, 0) << "released";
    first->SetAxis(0, -20000);
    first->SetAxis(1, -32768);  // fully up
    first->SetAxis(2, 1234);
    first->SetAxis(3, 10000);  // down
    first->SetAxis(4, 32767);
    ASSERT_TRUE(pads->Read(0, state));
    EXPECT_EQ(state.thumbLX, -20000);
    EXPECT_EQ(state.thumbLY, 32767);
    EXPECT_EQ(state.thumbRX, 1234);
    EXPECT_EQ(state.thumbRY, -10000);
    EXPECT_EQ(state.leftTrigger, 255);
    EXPECT_EQ(state.rightTrigger, 0);
}

TEST_F(SdlGamepadsTest, ControllersComeAndGoAtAnyTime) {
    ControllerState state;
    ASSERT_TRUE(pads->Read(0, state));
    EXPECT_FALSE(pads->Read(1, state));
    second = VirtualGamepad::Plug();
    ASSERT_TRUE(second);
    second->SetButton(3, true);
    ASSERT_TRUE(pads->Read(1, state)) << "a second controller fills the next slot";
    EXPECT_EQ(state.buttons, 0x8000);

    first.reset();  // unplug the first
    EXPECT_FALSE(pads->Read(0, state));
    ASSERT_TRUE(pads->Read(1, state)) << "the other slot is untouched";
    EXPECT_EQ(state.buttons, 0x8000);

    first = VirtualGamepad::Plug();
    ASSERT_TRUE(first);
    first->SetButton(1, true);
    ASSERT_TRUE(pads->Read(0, state)) << "plugged in again, slot 0 takes it";
    EXPECT_EQ(state.buttons, 0x2000);
    EXPECT_FALSE(pads->Read(7, state));
    pads->SetRumble(3, 100, 100);  // an empty slot: nothing happens
}

TEST(SdlGamepadsInGame, APadPluggedInMidGameIsFoundAndRumbles) {
    platform::Services services = platform::MakeHeadlessServices();
    services.gamepads = platform::MakeSdlGamepads();
    testing_support::HeadlessEngine engine(std::move(services));
    engine.RunFrames(3);
    EXPECT_FALSE(InputSystem::PadConnected(0));

    auto pad = VirtualGamepad::Plug();
    if (!pad) {
        VORL_SKIP_OR_FAIL_UNDER_CI("this SDL offers no virtual controllers");
    }
    pad->SetButton(6, true);  // Start
    int frames = 0;
    while (!InputSystem::PadButtonDown(0, PadButton::Start) && frames < 120) {
        engine.RunFrames(1);
        ++frames;
    }
    EXPECT_LT(frames, 70) << "found within about a second of frames";
    InputSystem::SetRumble(0, 1.0f);
    EXPECT_EQ(pad->LowMotor(), 65535);
    EXPECT_EQ(pad->HighMotor(), 65535);
    InputSystem::StopRumble();
    EXPECT_EQ(pad->LowMotor(), 0);

    pad.reset();
    engine.RunFrames(1);
    EXPECT_FALSE(InputSystem::PadConnected(0));
    EXPECT_FALSE(InputSystem::PadButtonDown(0, PadButton::Start));
}

}  // namespace
