// The player's bindings: rebinding a key or a pad button (taking one from another action swaps,
// reserved ones are refused), the round trip through the settings, and a live pad and a
// recording's pad read in the layout each was made in.
#include "input/bindings.h"

#include <gtest/gtest.h>

#include "input/input_recording.h"
#include "input/input_system.h"
#include "meta/settings.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/render_scene.h"

namespace {

using Bindings::Action;
using Result = Bindings::Change::Result;
using Keys = std::array<int, 2>;

TEST(Bindings, RebindingAKeySwapsWhatAnotherActionHadAndRefusesReservedKeys) {
    using enum Action;
    using enum Result;
    namespace VK = VirtualKey;
    const struct {
        Action action;
        int key;
        Result result;
        Keys keys;  // the action's keys after
        Action other;
        Keys otherKeys;  // another action's keys after (the one swapped with, if any)
    } cases[] = {
        {Jump, 'Z', Bound, {'Z', VK::Up}, SwitchForm, {VK::Space, 0}},
        {Jump, VK::Space, Swapped, {VK::Space, VK::Up}, SwitchForm, {'W', 0}},
        {MoveLeft, VK::Right, Swapped, {VK::Right, VK::Left}, MoveRight, {'D', 'A'}},
        // Its own secondary: the two trade places.
        {Jump, VK::Up, Bound, {VK::Up, 'W'}, MoveLeft, {'A', VK::Left}},
        // Pause has no key of its own (Escape is fixed), so the action it takes from loses it.
        {Pause, 'W', Swapped, {'W', 0}, Jump, {0, VK::Up}},
        {Jump, 'W', Unchanged, {'W', VK::Up}, Jump, {'W', VK::Up}},
        {Jump, VK::Escape, Refused, {'W', VK::Up}, Pause, {0, 0}},
        {Jump, VK::F5, Refused, {'W', VK::Up}, Pause, {0, 0}},
        {Down, 'L', Refused, {'S', VK::Down}, Down, {'S', VK::Down}},
    };
    // That no key ever serves two actions is the settings model's property.
    for (const auto& c : cases) {
        Bindings::Table table = Bindings::Defaults();
        const Bindings::Change change = Bindings::BindKey(table, c.action, c.key);
        const std::string what =
            std::string(Bindings::DisplayName(c.action)) + " <- " + Bindings::KeyName(c.key);
        EXPECT_EQ(change.result, c.result) << what;
        if (c.result == Swapped) {
            EXPECT_EQ(change.other, c.other) << what;
        }
        EXPECT_EQ(Bindings::Of(table, c.action).keys, c.keys) << what;
        EXPECT_EQ(Bindings::Of(table, c.other).keys, c.otherKeys) << what;
    }
}

TEST(Bindings, RebindingAPadButtonSwapsAndRefusesTheGuide) {
    using enum Action;
    using enum Result;
    const struct {
        Action action;
        std::uint16_t button;
        Result result;
        Action other;
        std::uint16_t otherButton;
    } cases[] = {
        {Jump, PadButton::B, Bound, Jump, PadButton::B},
        {Jump, PadButton::X, Swapped, SwitchForm, PadButton::A},
        {RestartLevel, PadButton::Start, Swapped, Pause, 0},
        {Jump, PadButton::Guide, Refused, Jump, PadButton::A},
        {Jump, PadButton::A | PadButton::B, Refused, Jump, PadButton::A},
    };
    for (const auto& c : cases) {
        Bindings::Table table = Bindings::Defaults();
        EXPECT_EQ(Bindings::BindPad(table, c.action, c.button).result, c.result);
        EXPECT_EQ(Bindings::Of(table, c.other).pad, c.otherButton)
            << Bindings::DisplayName(c.action) << " <- " << c.button;
    }
}

TEST(Bindings, TheSettingsKeepOnlyWhatDiffersAndReadItBack) {
    Settings settings;
    settings.keys["jump-twice"] = {'J', 0};  // an action of a newer version
    Bindings::ToSettings(Bindings::Defaults(), settings);
    EXPECT_EQ(settings.keys.size(), 1u);
    EXPECT_TRUE(settings.padButtons.empty());

    Bindings::Table table = Bindings::Defaults();
    Bindings::BindKey(table, Action::Jump, VirtualKey::Space);
    Bindings::BindPad(table, Action::Jump, PadButton::B);
    Bindings::ToSettings(table, settings);
    const std::string text = SettingsFile::Format(settings);
    // The key lines as written are the controls end-to-end test's.
    EXPECT_NE(text.find("pad jump b\n"), std::string::npos) << text;
    const auto back = SettingsFile::Parse(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(Bindings::FromSettings(*back), table);
    EXPECT_EQ(back->keys.at("jump-twice"), (Keys{'J', 0}));

    // A hand-edited file that gives an action a reserved key leaves it its default.
    settings.keys["down"] = {VirtualKey::Escape, 0};
    EXPECT_EQ(Bindings::Of(Bindings::FromSettings(settings), Action::Down).keys,
              (Keys{'S', VirtualKey::Down}));
    Bindings::ToSettings(Bindings::Defaults(), settings);
    EXPECT_EQ(Bindings::FromSettings(settings), Bindings::Defaults());
}

// A rebinding's live effect on the keys is the best runs' replay test's, its saving and the reset
// the settings model's, and Escape pausing the menus'.
class LiveBindings : public ::testing::Test {
protected:
    LiveBindings() { InputSystem::UseGamepads(&pads); }
    ~LiveBindings() override { SettingsKeeper::Disable(); }

    testing_support::ScratchAssets scratch{"bindings"};
    testing_support::FakeGamepads pads;  // outlives the engine
    testing_support::HeadlessEngine engine;
};

TEST_F(LiveBindings, ALivePadFollowsTheBindingsAndARecordingKeepsItsOwnLayout) {
    platform::ControllerState pressA;
    pressA.buttons = PadButton::A;
    platform::ControllerState pressB;
    pressB.buttons = PadButton::B;
    platform::ControllerState several;
    several.buttons = PadButton::A | PadButton::B | PadButton::Y;
    several.thumbLX = 1234;
    EXPECT_EQ(InputRecording::Encode(Bindings::ToDefaultLayout(several)),
              InputRecording::Encode(several))
        << "recorded as read";

    SettingsKeeper::Enable(scratch.Path() / "settings");
    ASSERT_EQ(Bindings::RebindPad(Action::Jump, PadButton::B).result, Result::Bound);
    // What a recording stores of the live pad now: B as the jump it is, A as nothing.
    EXPECT_EQ(Bindings::ToDefaultLayout(pressB).buttons, PadButton::A);
    EXPECT_EQ(Bindings::ToDefaultLayout(several).buttons, PadButton::A | PadButton::Y);
    EXPECT_EQ(Bindings::ToDefaultLayout(several).thumbLX, 1234);
    pads.pads[0] = platform::ControllerState{};
    engine.RunFrames(1);
    pads.pads[0] = pressB;
    engine.RunFrames(1);
    EXPECT_TRUE(Bindings::PadTriggered(Action::Jump, 0));

    // A recording made in the default layout: A jumps while it plays, whatever is bound.
    InputRecording::Writer file;
    ASSERT_TRUE(file.Open(0));
    file.Append({});
    file.Append(pressA);
    file.Close();
    InputSystem::StartPlayback(true);
    ASSERT_TRUE(InputSystem::IsPlayingBack());
    engine.RunFrames(2);
    EXPECT_TRUE(Bindings::PadTriggered(Action::Jump, 0));
    EXPECT_TRUE(InputSystem::PadButtonDown(0, PadButton::A));
}

}  // namespace
