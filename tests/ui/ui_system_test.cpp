// UISystem with the game's own menu archetypes: opening and closing the pause menu, moving
// through its screens with the mouse and the gamepad, and the final screen.
#include "ui/ui_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "meta/data_reader.h"
#include "objects/level_manager.h"
#include "objects/object.h"
#include "platform/services.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_window.h"
#include "ui/change_level_button_component.h"

namespace {

using testing_support::FakeGamepads;
using testing_support::HeadlessEngine;
using testing_support::ScriptedWindow;

const char* const kMenuArchetypes[] = {
    "Resume",
    "RestartLevelButton",
    "Howtoplay",
    "Options",
    "Quit",
    "RestartGameButton",
    "CreditsButton",
    "Yes",
    "No",
    "Music",
    "Sound",
    "BackButton",
    "Credits",
    "HowToPlayScreen",
};

class UISystemTest : public ::testing::Test {
protected:
    UISystemTest() : engine(MakeServices()) {}

    platform::Services MakeServices() {
        platform::Services services = platform::MakeHeadlessServices();
        auto scripted = std::make_unique<ScriptedWindow>();
        window = scripted.get();
        services.window = std::move(scripted);
        auto pads = std::make_unique<FakeGamepads>();
        gamepads = pads.get();
        services.gamepads = std::move(pads);
        return services;
    }

    // Loads the menu archetypes from the game's data and starts `level` (its file need not exist).
    void StartOn(int level) {
        const std::string previous = Assets::Root();
        Assets::SetRoot(VORL_SOURCE_DIR "/assets");
        for (const char* name : kMenuArchetypes) {
            ASSERT_TRUE(LoadArchetype(name)) << name;
        }
        Assets::SetRoot(previous);
        ASSERT_TRUE(LevelManager::SetStartLevel(level));
        MessagingSystem::Send<ArchetypesLoadedMessage>();
        Frames(3);
        sent.clear();
    }

    // Runs frames, logging every message as it becomes readable.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            engine.RunFrames(1);
            for (const auto& message : MessagingSystem::GetMessages()) {
                sent.push_back(message->type);
            }
        }
    }
    int Sent(MessageType type) const {
        return static_cast<int>(std::count(sent.begin(), sent.end(), type));
    }

    void PressEscape() {
        window->QueueKey(VirtualKey::Escape, true);
        Frames(1);
        window->QueueKey(VirtualKey::Escape, false);
    }
    // Moves onto the entry of the current screen cloned from `archetype`, waits for it to take
    // input, and clicks; then lets the answer arrive.
    void Click(const std::string& archetype) {
        const Object* target = Entry(archetype);
        ASSERT_NE(target, nullptr) << archetype << " is not on the screen";
        const Vector2D at = target->GetTransform().GetPosition();
        window->Queue([=](platform::WindowEvents& e) {
            e.OnMouseMove(static_cast<int>(at.x), static_cast<int>(at.y));
        });
        Frames(3);
        window->Queue([=](platform::WindowEvents& e) {
            e.OnMouseButton(platform::MouseButton::Left, true, static_cast<int>(at.x),
                            static_cast<int>(at.y));
        });
        Frames(1);
        window->Queue([=](platform::WindowEvents& e) {
            e.OnMouseButton(platform::MouseButton::Left, false, static_cast<int>(at.x),
                            static_cast<int>(at.y));
        });
        Frames(2);
    }

    UISystem& ui() { return *engine.core().Get<UISystem>("UISystem"); }
    std::vector<std::string> Screen() {
        std::vector<std::string> names;
        for (const Object* object : ui().menuObjects) {
            names.push_back(object->GetName());
        }
        return names;
    }
    const Object* Entry(const std::string& name) {
        for (const Object* object : ui().menuObjects) {
            if (object->GetName() == name) {
                return object;
            }
        }
        return nullptr;
    }

    ScriptedWindow* window = nullptr;
    FakeGamepads* gamepads = nullptr;
    HeadlessEngine engine;
    std::vector<MessageType> sent;
};

const std::vector<std::string> kPauseMenu = {
    "Resume", "RestartLevelButton", "Howtoplay",    "Options",
    "Quit",   "RestartGameButton",  "CreditsButton"};

TEST_F(UISystemTest, EscapeOpensThePauseMenuAFrameLaterDimsTheLevelAndEscapeClosesIt) {
    StartOn(5);
    PressEscape();
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_EQ(Sent(MessageType::TogglePause), 0);
    Frames(1);
    EXPECT_TRUE(ui().menuOpen);
    EXPECT_EQ(Screen(), kPauseMenu);
    EXPECT_EQ(Entry("Resume")->GetTransform().GetPosition(), (Vector2D{0.0f, 300.0f}));
    EXPECT_EQ(Entry("CreditsButton")->GetTransform().GetScale(), (Vector2D{80.0f, 45.0f}));
    ASSERT_NE(ui().Veil(), nullptr);
    EXPECT_LT(ui().Veil()->GetTransform().GetZLayer(), 8.0f);

    Frames(3);
    PressEscape();
    EXPECT_EQ(Screen().size(), 7u) << "the screen clears when Resume is read";
    Frames(1);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_TRUE(Screen().empty());
    EXPECT_EQ(ui().Veil(), nullptr);
}

TEST_F(UISystemTest, ScreensFollowTheButtonsAndNoGoesBackToThePauseMenu) {
    StartOn(5);
    PressEscape();
    Frames(2);
    Click("Options");
    EXPECT_EQ(Screen(), (std::vector<std::string>{"Music", "Sound", "BackButton"}));
    Click("Music");
    Click("Sound");
    EXPECT_EQ(Sent(MessageType::ToggleMute2), 1);
    EXPECT_EQ(Sent(MessageType::ToggleMute1), 1);
    Click("BackButton");
    EXPECT_EQ(Screen(), kPauseMenu);

    Click("Quit");
    EXPECT_EQ(Screen(), (std::vector<std::string>{"Yes", "No"}));
    Click("No");
    EXPECT_EQ(Screen(), kPauseMenu);
    for (auto [button, page] :
         {std::pair{"Howtoplay", "HowToPlayScreen"}, {"CreditsButton", "Credits"}}) {
        Click(button);
        EXPECT_EQ(Screen(), std::vector<std::string>{page});
        EXPECT_EQ(Entry(page)->GetTransform().GetScale(), (Vector2D{500.0f, 375.0f}));
        Click(page);
        EXPECT_EQ(Screen(), kPauseMenu) << "a click on the page goes back";
    }
    EXPECT_TRUE(ui().menuOpen);
    EXPECT_EQ(Sent(MessageType::ChangeLevel), 0);
}

TEST_F(UISystemTest, ButtonsIgnoreTheClickThatMadeThemAppear) {
    StartOn(5);
    PressEscape();
    Frames(1);
    // Options sits at the centre; the click lands on the frame after the menu appears.
    window->Queue([](platform::WindowEvents& e) {
        e.OnMouseButton(platform::MouseButton::Left, true, 0, 0);
    });
    Frames(3);
    EXPECT_EQ(Sent(MessageType::ShowOptions), 0);
    EXPECT_EQ(Screen(), kPauseMenu);
}

TEST_F(UISystemTest, YesAfterRestartLevelReloadsTheLevelAndResumes) {
    StartOn(5);
    PressEscape();
    Frames(2);
    Click("RestartLevelButton");
    Click("Yes");
    EXPECT_GE(Sent(MessageType::Resume), 1);
    EXPECT_GE(Sent(MessageType::LevelStarted), 1);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 5);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_TRUE(Screen().empty());
    EXPECT_EQ(ui().Veil(), nullptr);
}

TEST_F(UISystemTest, EnteringAButtonWithTheMouseSendsOneRestartSounds) {
    StartOn(5);
    PressEscape();
    Frames(3);
    sent.clear();
    window->Queue([](platform::WindowEvents& e) { e.OnMouseMove(0, 0); });
    Frames(5);
    EXPECT_EQ(Sent(MessageType::RestartSounds), 1);
}

TEST_F(UISystemTest, TheFinalScreenShowsItsTwoButtonsAndIgnoresThePauseKey) {
    StartOn(20);
    EXPECT_EQ(Screen(), (std::vector<std::string>{"RestartGameButton", "Quit"}));
    EXPECT_EQ(Entry("Quit")->GetTransform().GetPosition(), (Vector2D{0.0f, -100.0f}));
    PressEscape();
    Frames(2);
    EXPECT_EQ(Sent(MessageType::TogglePause), 0);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_EQ(ui().Veil(), nullptr) << "nothing behind the final screen to dim";
    Click("Quit");
    EXPECT_FALSE(isRunning) << "Quit here quits without asking";
}

TEST_F(UISystemTest, TheGamepadWrapsRepeatsEveryFifthOfASecondAndPressesWithA) {
    // Plugged in before the first frame, which looks for pads.
    gamepads->pads[0] = platform::ControllerState{};
    StartOn(5);
    gamepads->pads[0]->buttons = PadButton::Start;
    Frames(1);
    gamepads->pads[0]->buttons = 0;
    Frames(2);
    ASSERT_EQ(Screen(), kPauseMenu);
    ASSERT_EQ(ui().selected, 0);

    gamepads->pads[0]->buttons = PadButton::DPadUp;
    Frames(1);
    EXPECT_EQ(ui().selected, 6) << "one up from the top selects the last";
    gamepads->pads[0]->buttons = 0;
    Frames(20);
    // A held stick moves at once, then again every 0.2 s (12 frames at 1/60 s).
    gamepads->pads[0]->thumbLY = -32767;
    Frames(1);
    EXPECT_EQ(ui().selected, 0);
    Frames(10);
    EXPECT_EQ(ui().selected, 0);
    Frames(3);
    EXPECT_EQ(ui().selected, 1);
    gamepads->pads[0]->thumbLY = 0;
    Frames(1);
    gamepads->pads[0]->buttons = PadButton::A;
    Frames(3);
    EXPECT_EQ(Screen(), (std::vector<std::string>{"Yes", "No"})) << "A on Restart Level";
}

}  // namespace
