// The player's bindings: rebinding a key or a pad button (taking one from another action swaps,
// reserved ones are refused), the round trip through the settings, their live effect on the
// queries the game asks, and a recording's pad read in the layout it was made in.
#include "input/bindings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "input/input_recording.h"
#include "input/input_system.h"
#include "meta/settings.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"

namespace {

namespace fs = std::filesystem;
using Bindings::Action;
using Result = Bindings::Change::Result;
using Keys = std::array<int, 2>;

TEST(Bindings, RebindingAKeySwapsWhatAnotherActionHadAndRefusesReservedKeys) {
    const struct {
        Action action;
        int key;
        Result result;
        Keys keys;  // the action's keys after
        Action other;
        Keys otherKeys;  // another action's keys after (the one swapped with, if any)
    } cases[] = {
        {Action::Jump,
         'Z',
         Result::Bound,
         {'Z', VirtualKey::Up},
         Action::SwitchForm,
         {VirtualKey::Space, 0}},
        {Action::Jump,
         VirtualKey::Space,
         Result::Swapped,
         {VirtualKey::Space, VirtualKey::Up},
         Action::SwitchForm,
         {'W', 0}},
        {Action::MoveLeft,
         VirtualKey::Right,
         Result::Swapped,
         {VirtualKey::Right, VirtualKey::Left},
         Action::MoveRight,
         {'D', 'A'}},
        // Its own secondary: the two trade places.
        {Action::Jump,
         VirtualKey::Up,
         Result::Bound,
         {VirtualKey::Up, 'W'},
         Action::MoveLeft,
         {'A', VirtualKey::Left}},
        // Pause has no key of its own (Escape is fixed), so the action it takes from loses it.
        {Action::Pause, 'W', Result::Swapped, {'W', 0}, Action::Jump, {0, VirtualKey::Up}},
        {Action::Jump,
         'W',
         Result::Unchanged,
         {'W', VirtualKey::Up},
         Action::Jump,
         {'W', VirtualKey::Up}},
        {Action::Jump,
         VirtualKey::Escape,
         Result::Refused,
         {'W', VirtualKey::Up},
         Action::Pause,
         {0, 0}},
        {Action::Jump,
         VirtualKey::F5,
         Result::Refused,
         {'W', VirtualKey::Up},
         Action::Pause,
         {0, 0}},
        {Action::Down,
         'L',
         Result::Refused,
         {'S', VirtualKey::Down},
         Action::Down,
         {'S', VirtualKey::Down}},
    };
    for (const auto& c : cases) {
        Bindings::Table table = Bindings::Defaults();
        const Bindings::Change change = Bindings::BindKey(table, c.action, c.key);
        const std::string what =
            std::string(Bindings::DisplayName(c.action)) + " <- " + Bindings::KeyName(c.key);
        EXPECT_EQ(change.result, c.result) << what;
        if (c.result == Result::Swapped) {
            EXPECT_EQ(change.other, c.other) << what;
        }
        EXPECT_EQ(Bindings::Of(table, c.action).keys, c.keys) << what;
        EXPECT_EQ(Bindings::Of(table, c.other).keys, c.otherKeys) << what;
        // No key is ever on two actions.
        std::set<int> seen;
        for (const Bindings::Binding& binding : table) {
            for (int key : binding.keys) {
                EXPECT_TRUE(key == 0 || seen.insert(key).second) << what << ": " << key;
            }
        }
    }
}

TEST(Bindings, RebindingAPadButtonSwapsAndRefusesTheGuide) {
    const struct {
        Action action;
        std::uint16_t button;
        Result result;
        Action other;
        std::uint16_t otherButton;
    } cases[] = {
        {Action::Jump, PadButton::B, Result::Bound, Action::Jump, PadButton::B},
        {Action::Jump, PadButton::X, Result::Swapped, Action::SwitchForm, PadButton::A},
        {Action::RestartLevel, PadButton::Start, Result::Swapped, Action::Pause, 0},
        {Action::Jump, PadButton::Guide, Result::Refused, Action::Jump, PadButton::A},
        {Action::Jump, PadButton::A | PadButton::B, Result::Refused, Action::Jump, PadButton::A},
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
    EXPECT_NE(text.find("key jump 0x20 0x26\n"), std::string::npos) << text;
    EXPECT_NE(text.find("key switch-form 0x57 none\n"), std::string::npos) << text;
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

class LiveBindings : public ::testing::Test {
protected:
    LiveBindings()
        : folder_(fs::temp_directory_path() / ("vorl-bindings-" + std::to_string(getpid()))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        home_ = fs::current_path();
        fs::current_path(folder_);
        SettingsKeeper::Enable(folder_ / "settings");
        InputSystem::UseGamepads(&pads);
    }
    ~LiveBindings() override {
        SettingsKeeper::Disable();
        fs::current_path(home_);
        fs::remove_all(folder_);
    }
    // As the window feeds it: the systems of the next step see it triggered.
    static void Press(int key) {
        InputSystem::ClearKeys();
        InputSystem::SetKey(key, true);
    }

    fs::path folder_, home_;
    testing_support::FakeGamepads pads;  // outlives the engine
    testing_support::HeadlessEngine engine;
};

TEST_F(LiveBindings, ARebindingActsAtOnceIsSavedAndAResetUndoesIt) {
    EXPECT_EQ(Bindings::Rebind(Action::Jump, 'Z').result, Result::Bound);
    Press('W');
    EXPECT_FALSE(Bindings::ActionTriggered(Action::Jump));
    Press('Z');
    EXPECT_TRUE(Bindings::ActionTriggered(Action::Jump));
    EXPECT_TRUE(Bindings::ActionDown(Action::Jump));
    EXPECT_EQ(
        Bindings::Of(Bindings::FromSettings(SettingsFile::Load(folder_ / "settings")), Action::Jump)
            .keys[0],
        'Z');

    Bindings::ResetToDefaults();
    Press('W');
    EXPECT_TRUE(Bindings::KeysTriggered(Action::Jump));
    EXPECT_TRUE(SettingsKeeper::Current().keys.empty());
    // Escape pauses whatever is bound.
    Press(VirtualKey::Escape);
    EXPECT_TRUE(Bindings::KeysTriggered(Action::Pause));
}

TEST_F(LiveBindings, ALivePadFollowsTheBindingsAndARecordingKeepsItsOwnLayout) {
    platform::ControllerState pressA;
    pressA.buttons = PadButton::A;
    platform::ControllerState pressB;
    pressB.buttons = PadButton::B;
    platform::ControllerState several;
    several.buttons = PadButton::A | PadButton::B | PadButton::Y;
    several.thumbLX = 1234;
    const auto same = [](const platform::ControllerState& a, const platform::ControllerState& b) {
        return InputRecording::Encode(a) == InputRecording::Encode(b);
    };
    EXPECT_TRUE(same(Bindings::ToDefaultLayout(several), several)) << "recorded as read";

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
    fs::create_directories("assets/Level0Input");
    std::ofstream file("assets/Level0Input/inputfile1.input", std::ios::binary);
    for (const platform::ControllerState& state : {platform::ControllerState{}, pressA}) {
        const auto record = InputRecording::Encode(state);
        file.write(reinterpret_cast<const char*>(record.data()),
                   static_cast<std::streamsize>(record.size()));
    }
    file.close();
    InputSystem::StartPlayback(true);
    ASSERT_TRUE(InputSystem::IsPlayingBack());
    engine.RunFrames(2);
    EXPECT_TRUE(Bindings::PadTriggered(Action::Jump, 0));
    EXPECT_TRUE(InputSystem::PadButtonDown(0, PadButton::A));
}

}  // namespace
