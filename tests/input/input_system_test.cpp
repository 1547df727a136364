#include "input/input_system.h"

#include <gtest/gtest.h>

#include "core/messaging.h"
#include "objects/object.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_services.h"
#include "support/scripted_window.h"

namespace {

using testing_support::FakeGamepads;
using testing_support::HeadlessEngine;
using testing_support::ScriptedWindow;

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { InputSystem::UseGamepads(&pads); }
    void Frame() { engine.RunFrames(1); }

    FakeGamepads pads;  // outlives the engine
    HeadlessEngine engine;
};

TEST_F(InputTest, KeyRepeatCountsDown35CallsThenRepeatsEveryCall) {
    const int key = VirtualKey::Plus;
    EXPECT_FALSE(InputSystem::KeyRepeat(key));
    InputSystem::SetKey(key, true);
    int falses = 0;
    while (!InputSystem::KeyRepeat(key)) {
        ++falses;
        Frame();
        ASSERT_LT(falses, 100);
    }
    EXPECT_EQ(falses, 35);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(InputSystem::KeyRepeat(key));
    }
    InputSystem::SetKey(key, false);
    Frame();
    Frame();
    EXPECT_FALSE(InputSystem::KeyRepeat(key));
    // A fresh press after the key settled restarts the countdown.
    Frame();
    InputSystem::SetKey(key, true);
    EXPECT_FALSE(InputSystem::KeyRepeat(key));
}

TEST_F(InputTest, KeysOutsideTheTableReadAsUp) {
    InputSystem::SetKey(256, true);
    InputSystem::SetKey(-1, true);
    EXPECT_FALSE(InputSystem::KeyDown(256));
    EXPECT_FALSE(InputSystem::KeyTriggered(-1));
    EXPECT_FALSE(InputSystem::KeyRepeat(1000));
}

TEST_F(InputTest, MouseOverIncludesTheBounds) {
    Object object;
    object.GetTransform().SetPosition({100.0f, 50.0f});
    object.GetTransform().SetScale({10.0f, 5.0f});
    InputSystem::MoveMouse(110, 45);
    EXPECT_TRUE(InputSystem::IsMouseOver(object));
    InputSystem::MoveMouse(111, 50);
    EXPECT_FALSE(InputSystem::IsMouseOver(object));
    InputSystem::MoveMouse(100, 44);
    EXPECT_FALSE(InputSystem::IsMouseOver(object));
}

// Through a camera the mouse is the MouseUnproject tests' and every click of the e2e scripts.
TEST_F(InputTest, WithoutACameraTheMouseStaysWhereItWas) {
    InputSystem::SetCameraSource([] { return std::vector<MouseCamera>{}; });
    InputSystem::MoveMouse(300, 200);
    EXPECT_EQ(InputSystem::GetMouseX(), 0);
}

platform::ControllerState Stick(std::int16_t lx, std::int16_t ly, std::int16_t rx = 0,
                                std::int16_t ry = 0) {
    platform::ControllerState state;
    state.thumbLX = lx;
    state.thumbLY = ly;
    state.thumbRX = rx;
    state.thumbRY = ry;
    return state;
}

TEST_F(InputTest, TheFirstUpdateProbesEveryPadTheNextReadsThemAndMissingOnesAreProbedLess) {
    pads.pads[0] = Stick(0, 0);
    pads.pads[2] = Stick(0, 0);
    Frame();
    for (const int pad : {-1, 0, 1, 2, 4}) {
        EXPECT_EQ(InputSystem::PadConnected(pad), pad == 0 || pad == 2) << pad;
    }
    pads.pads[2]->buttons = PadButton::A;
    Frame();
    EXPECT_TRUE(InputSystem::PadButtonTriggered(2, PadButton::A)) << "pads beyond 0 are dependable";
    Frame();
    EXPECT_TRUE(InputSystem::PadButtonDown(2, PadButton::A));
    EXPECT_FALSE(InputSystem::PadButtonTriggered(2, PadButton::A));
    EXPECT_FALSE(InputSystem::PadButtonDown(2, PadButton::B));

    const int before = pads.reads[1];
    for (int i = 0; i < 60; ++i) {
        Frame();
    }
    const int probes = pads.reads[1] - before;
    EXPECT_GT(probes, 0) << "a missing pad is probed again";
    EXPECT_LT(probes, 60) << "the 0.1 s pause after each poll period skips some frames";
}

TEST_F(InputTest, StickDeadZonesUseTheDistanceFromCentre) {
    pads.pads[0] = Stick(7000, 3000, 8000, 3000);  // inside both dead zones, one axis large
    Frame();
    Frame();
    EXPECT_FLOAT_EQ(InputSystem::LeftMagnitude(0), 0.0f);
    EXPECT_FLOAT_EQ(InputSystem::LeftStickX(0), 0.0f);
    EXPECT_FLOAT_EQ(InputSystem::LeftStickY(0), 0.0f);
    EXPECT_FLOAT_EQ(InputSystem::RightStickY(0), 0.0f);

    // Just past the left dead zone diagonally: the raw values come through, not rescaled.
    pads.pads[0] = Stick(6000, 6000, 0, -8690);
    Frame();
    EXPECT_GT(InputSystem::LeftMagnitude(0), 0.0f);
    EXPECT_FLOAT_EQ(InputSystem::LeftStickX(0), 6000.0f / 32767.0f);
    EXPECT_FLOAT_EQ(InputSystem::LeftStickY(0), 6000.0f / 32767.0f);
    EXPECT_NEAR(InputSystem::RightMagnitude(0), 1.0f, 1e-3f);
    EXPECT_FLOAT_EQ(InputSystem::RightStickY(0), -8690.0f / 32767.0f);

    // The distance is capped at full deflection before the dead zone is taken off.
    pads.pads[0] = Stick(32767, 32767);
    Frame();
    EXPECT_FLOAT_EQ(InputSystem::LeftMagnitude(0), 32767.0f - 7849.0f);
    EXPECT_FLOAT_EQ(InputSystem::LeftStickX(5), 0.0f);
}

TEST_F(InputTest, RumbleScalesStrengthToMotorSpeedOnConnectedPadsAndPauseStopsThem) {
    pads.pads[1] = Stick(0, 0);
    pads.pads[3] = Stick(0, 0);
    Frame();
    // Full, half, stopped, clamped to full, clamped to stopped; then pads not connected.
    for (const float strength : {1.0f, 0.5f, 0.0f, 7.0f, -1.0f}) {
        InputSystem::SetRumble(1, strength);
    }
    InputSystem::SetRumble(0, 1.0f);
    InputSystem::SetRumble(9, 1.0f);
    using Calls = std::vector<FakeGamepads::RumbleCall>;
    EXPECT_EQ(
        pads.rumble,
        (Calls{{1, 65535, 65535}, {1, 32767, 32767}, {1, 0, 0}, {1, 65535, 65535}, {1, 0, 0}}));
    pads.rumble.clear();
    MessagingSystem::Send<TogglePauseMessage>();
    Frame();
    EXPECT_EQ(pads.rumble, (Calls{{1, 0, 0}, {3, 0, 0}}));
}

TEST_F(InputTest, ALoadedLevelStartsWithEveryKeyUp) {
    InputSystem::SetKey('A', true);
    Frame();
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
    Frame();
    EXPECT_FALSE(InputSystem::KeyDown('A'));
}

TEST(InputKeys, F3AndF4SwitchRandomInputTheStepAfterThePress) {
    testing_support::ScriptedServices made = testing_support::MakeScriptedServices();
    ScriptedWindow& script = *made.window;
    HeadlessEngine engine(std::move(made.services));

    testing::internal::CaptureStdout();
    // The key sends its command in the step of the press; the input system reads it in the next.
    script.QueueKey(VirtualKey::F3, true);
    engine.RunFrames(1);
    EXPECT_FALSE(InputSystem::IsRandomInputOn());
    engine.RunFrames(1);
    EXPECT_TRUE(InputSystem::IsRandomInputOn());
    script.QueueKey(VirtualKey::F3, false);
    script.QueueKey(VirtualKey::F4, true);
    engine.RunFrames(2);
    EXPECT_FALSE(InputSystem::IsRandomInputOn());
    testing::internal::GetCapturedStdout();  // the trace is the random input tests'
}

}  // namespace
