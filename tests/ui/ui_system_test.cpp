// UISystem with the game's own menu archetypes: opening and closing the pause menu, moving
// through its screens with the mouse and the gamepad, and the final screen.
#include "ui/ui_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "graphics/screen_text.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "meta/assets.h"
#include "meta/settings.h"
#include "objects/graveyard.h"
#include "objects/level_manager.h"
#include "objects/object.h"
#include "support/asset_folder.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_services.h"
#include "support/scripted_window.h"

namespace {

using Names = std::vector<std::string>;
const Names kPauseMenu = {"Resume",
                          "Options",
                          "Howtoplay",
                          "CreditsButton",
                          "Levels",
                          "RestartLevelButton",
                          "RestartGameButton",
                          "Quit"};

class UISystemTest : public ::testing::Test {
protected:
    UISystemTest()
        : made(testing_support::MakeScriptedServices()),
          window(made.window),
          gamepads(made.pads),
          engine(std::move(made.services)) {}
    // The options change the one live copy of the settings.
    ~UISystemTest() override {
        SettingsKeeper::Disable();
        ProgressKeeper::Disable();
    }
    // A progress file with `text`, as a returning player has (none, for an empty text).
    void KeepProgress(const std::string& text) {
        if (!text.empty()) {
            scratch.Write("progress", text);
        }
        ProgressKeeper::Enable(scratch.Folder() / "progress");
    }

    // Loads the menu archetypes from the game's data and starts `level` (its file need not exist).
    void StartOn(int level) {
        const Assets::Folders previous = Assets::Current();
        Assets::SetRoot(VORL_SOURCE_DIR "/assets");
        {
            testing_support::CapturedDiagnostics diagnostics;
            for (const std::string& name : kPauseMenu) {
                LoadArchetype(name);
            }
            for (const char* name :
                 {"Yes", "No", "Music", "Sound", "BackButton", "Credits", "HowToPlayScreen"}) {
                LoadArchetype(name);
            }
            EXPECT_TRUE(diagnostics.Lines().empty()) << diagnostics.Lines().front();
        }
        Assets::Use(previous);
        ASSERT_TRUE(LevelManager::SetStartLevel(level));
        MessagingSystem::Send<ArchetypesLoadedMessage>();
        Frames(3);
        sent.clear();
    }
    void OpenPauseMenu() {
        StartOn(5);
        Press(VirtualKey::Escape, 2);
    }
    void OpenOptions() {
        OpenPauseMenu();
        Press(VirtualKey::Down, 1);
        Press(VirtualKey::Return, 3);
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
    // A key pressed for one frame and let go, then the menu's answer.
    void Press(int key, int after = 0) {
        window->QueueKey(key, true);
        Frames(1);
        window->QueueKey(key, false);
        Frames(after);
    }
    // The same with a button of the first pad.
    void PressPad(std::uint16_t button, int after = 0) {
        gamepads->pads[0]->buttons = button;
        Frames(1);
        gamepads->pads[0]->buttons = 0;
        Frames(after);
    }
    std::string Selected() {
        const int i = ui().selected;
        return i >= 0 && i < static_cast<int>(ui().menuObjects.size())
                   ? ui().menuObjects[static_cast<std::size_t>(i)]->GetName()
                   : "";
    }
    bool ShowsText(const std::string& text) {
        const auto texts = ScreenText::Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    void Mouse(Vector2D at, std::optional<bool> left = {}) {
        window->Queue([=](platform::WindowEvents& e) {
            const int x = static_cast<int>(at.x), y = static_cast<int>(at.y);
            left ? e.OnMouseButton(platform::MouseButton::Left, *left, x, y) : e.OnMouseMove(x, y);
        });
    }
    // Moves onto the entry cloned from `archetype`, waits, clicks, and lets the answer arrive.
    void Click(const std::string& archetype) {
        const Object* target = Entry(archetype);
        ASSERT_NE(target, nullptr) << archetype << " is not on the screen";
        const Vector2D at = target->GetTransform().GetPosition();
        Mouse(at);
        Frames(3);
        Mouse(at, true);
        Frames(1);
        Mouse(at, false);
        Frames(2);
    }

    UISystem& ui() { return *engine.core().Get<UISystem>("UISystem"); }
    Names Screen() {
        Names names;
        for (const Object* object : ui().menuObjects) {
            names.push_back(object->GetName());
        }
        return names;
    }
    const Object* Entry(const std::string& name) {
        const auto& entries = ui().menuObjects;
        const auto at = std::find_if(entries.begin(), entries.end(),
                                     [&](const Object* entry) { return entry->GetName() == name; });
        return at == entries.end() ? nullptr : *at;
    }

    // The data folder while the test lives: levels the test starts need no file, and the
    // folders a test chooses are put back.
    testing_support::TempAssets scratch;
    testing_support::ScriptedServices made;
    testing_support::ScriptedWindow* window;
    testing_support::FakeGamepads* gamepads;
    testing_support::HeadlessEngine engine;
    std::vector<MessageType> sent;
};

TEST_F(UISystemTest, EscapeOpensThePauseMenuAFrameLaterDimsTheLevelAndEscapeClosesIt) {
    StartOn(5);
    Press(VirtualKey::Escape);
    EXPECT_FALSE(ui().menuOpen);
    Frames(1);
    EXPECT_TRUE(ui().menuOpen);
    EXPECT_EQ(Screen(), kPauseMenu);
    EXPECT_NE(ui().Veil(), nullptr);

    Frames(3);
    Press(VirtualKey::Escape);
    EXPECT_EQ(Screen().size(), 8u) << "the screen clears when Resume is read";
    Frames(1);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_TRUE(Screen().empty());
    EXPECT_EQ(ui().Veil(), nullptr);
}

TEST_F(UISystemTest, PagesAndQuestionsGoBackToThePauseMenuAndYesToARestartResumes) {
    OpenPauseMenu();
    for (auto [button, page] :
         {std::pair{"Howtoplay", "HowToPlayScreen"}, std::pair{"CreditsButton", "Credits"}}) {
        Click(button);
        EXPECT_EQ(Screen(), Names{page});
        EXPECT_EQ(Entry(page)->GetTransform().GetScale(), (Vector2D{500.0f, 375.0f}));
        Click(page);
        EXPECT_EQ(Screen(), kPauseMenu) << "a click on the page goes back";
    }
    // Quit's question is keyboard_menu_test.sh's (kb_question).
    const struct {
        const char* button;
        const char* question;
        bool escape;  // Escape on a question answers No
    } questions[] = {{"RestartLevelButton", "Restart this level?", false},
                     {"RestartGameButton", "Restart the game?", true}};
    for (const auto& q : questions) {
        Click(q.button);
        EXPECT_EQ(Screen(), (Names{"Yes", "No"}));
        EXPECT_TRUE(ShowsText(q.question)) << q.button;
        if (q.escape) {
            Press(VirtualKey::Escape, 2);
        } else {
            Click("No");
        }
        EXPECT_EQ(Screen(), kPauseMenu) << q.button;
    }
    EXPECT_TRUE(ui().menuOpen);
    EXPECT_EQ(Sent(MessageType::ChangeLevel), 0);
    Click("RestartLevelButton");
    Click("Yes");
    EXPECT_EQ(Sent(MessageType::Resume), 1);
    EXPECT_EQ(Sent(MessageType::LevelStarted), 1);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 5);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_TRUE(Screen().empty());
    EXPECT_EQ(ui().Veil(), nullptr);
}

TEST_F(UISystemTest, EnteringTheEditorOverTheMenuLeavesTheObjectsToTheObjectSystem) {
    OpenPauseMenu();
    // The object system destroys every level object earlier in the same frame; the menu must not
    // destroy its entries a second time.
    MessagingSystem::Send<EnterLevelEditorMessage>();
    Frames(3);
    EXPECT_FALSE(ui().menuOpen);
    EXPECT_TRUE(Screen().empty());
    EXPECT_EQ(ui().Veil(), nullptr);
    EXPECT_EQ(Graveyard::ObjectCount(), 0u);
}

TEST_F(UISystemTest, TheFinalScreenStartsOnQuitAndItsRestartAsksFirst) {
    StartOn(20);
    const Names finalScreen = {"Quit", "RestartGameButton"};
    EXPECT_EQ(Screen(), finalScreen);
    EXPECT_EQ(Selected(), "Quit") << "the restart is never the preselected answer";
    Press(VirtualKey::Escape, 2);
    EXPECT_EQ(Sent(MessageType::TogglePause), 0);
    EXPECT_EQ(ui().Veil(), nullptr) << "nothing behind the final screen to dim";
    // Return on what the screen starts with, then back: nothing is restarted by a stray key.
    Press(VirtualKey::Down, 1);
    EXPECT_EQ(Selected(), "RestartGameButton");
    Press(VirtualKey::Return, 3);
    EXPECT_TRUE(ShowsText("Restart the game?"));
    EXPECT_EQ(Selected(), "No");
    Press(VirtualKey::Return, 3);
    EXPECT_EQ(Screen(), finalScreen) << "No goes back to the final screen, not a pause menu";
    EXPECT_EQ(Selected(), "Quit");
    EXPECT_EQ(Sent(MessageType::ChangeLevel), 0);
}

TEST_F(UISystemTest, TheGamepadWrapsRepeatsEveryFifthOfASecondAndPressesWithA) {
    gamepads->pads[0] = platform::ControllerState{};  // plugged in before the first frame
    StartOn(5);
    PressPad(PadButton::Start, 2);
    ASSERT_EQ(Screen(), kPauseMenu);
    PressPad(PadButton::DPadUp);
    EXPECT_EQ(ui().selected, 7) << "one up from the top selects the last";
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
    Mouse({500.0f, 0.0f});  // a mouse off every button changes nothing
    Frames(1);
    PressPad(PadButton::A, 3);
    EXPECT_EQ(ui().screen, UISystem::Screen::Options) << "A on Options";
    PressPad(PadButton::DPadLeft);
    EXPECT_TRUE(ShowsText("< 90 % >")) << "the pad steps the music volume down";
    PressPad(PadButton::B, 2);
    EXPECT_EQ(Screen(), kPauseMenu) << "B goes back";
}

TEST_F(UISystemTest, OptionsChangeTheSettingsLiveFromTheKeyboard) {
    OpenOptions();
    ASSERT_EQ(ui().screen, UISystem::Screen::Options);
    Press(VirtualKey::Left, 1);
    Press('A', 1);
    EXPECT_EQ(SettingsKeeper::Current().musicVolume, 80);
    Press(VirtualKey::Down, 1);
    Press(VirtualKey::Right, 1);
    EXPECT_EQ(SettingsKeeper::Current().effectsVolume, 100) << "no further than full";
    Press(VirtualKey::Down, 1);
    Press(VirtualKey::Return, 2);
    EXPECT_TRUE(SettingsKeeper::Current().musicOff);
    for (int row = 0; row < 4; ++row) {
        Press(VirtualKey::Down, 2);  // a key is new again two frames after it was let go
    }
    Press(VirtualKey::Right, 1);
    EXPECT_TRUE(SettingsKeeper::Current().showTimer);
    Press(VirtualKey::Down, 1);
    Press('S', 1);
    Press(VirtualKey::Return, 3);
    EXPECT_EQ(Screen(), kPauseMenu) << "Back";
    EXPECT_EQ(Selected(), "Options");
}

TEST_F(UISystemTest, TheControlsPageRebindsSwapsRefusesCancelsAndResets) {
    gamepads->pads[0] = platform::ControllerState{};
    OpenOptions();
    Press(VirtualKey::Up, 1);  // from the top round to Back, then up to Controls
    Press('W', 1);
    Press(VirtualKey::Return, 3);
    ASSERT_EQ(ui().screen, UISystem::Screen::Controls);

    // The awaited key is taken whatever it is, even one the list moves by.
    const auto rebind = [&](int key, const std::string& said) {
        Press(VirtualKey::Return, 2);
        EXPECT_TRUE(ShowsText("< Press a key >")) << said;
        Press(key, 2);
        EXPECT_TRUE(ShowsText(said)) << ScreenText::Texts().back();
    };
    rebind(VirtualKey::Down, "Move left now on Down; Press down moved to A");
    EXPECT_EQ(ui().List().Selected(), 0);
    EXPECT_TRUE(ShowsText("S / A | None"));
    Press(VirtualKey::Tab, 1);
    Press('S', 1);
    Press(VirtualKey::Tab, 1);
    rebind(VirtualKey::Escape, "Jump unchanged");
    EXPECT_EQ(ui().screen, UISystem::Screen::Controls) << "Escape cancels only the wait";
    rebind('L', "L is kept for the game; Jump unchanged");

    Press(VirtualKey::Return, 2);
    PressPad(PadButton::B, 2);
    EXPECT_TRUE(ShowsText("Jump now on pad B"));
    EXPECT_EQ(SettingsKeeper::Current().padButtons.at("jump"), PadButton::B);
    EXPECT_EQ(ui().screen, UISystem::Screen::Controls) << "B was taken, not read as going back";

    for (int row = 3; row < ControlsPage::kResetRow; ++row) {
        Press(row % 2 ? VirtualKey::Down : 'S', 1);
    }
    Press(VirtualKey::Return, 2);
    EXPECT_TRUE(SettingsKeeper::Current().keys.empty());
    EXPECT_TRUE(SettingsKeeper::Current().padButtons.empty());
    EXPECT_TRUE(ShowsText("W / Up | A"));
    Press(VirtualKey::Escape, 2);
    EXPECT_EQ(ui().screen, UISystem::Screen::Options);
    EXPECT_EQ(ui().List().Selected(), 7) << "back on Controls";
}

TEST_F(UISystemTest, TheTimerCountsStepsPlayedAndStopsInThePauseMenu) {
    SettingsKeeper::Change([](Settings& settings) { settings.showTimer = true; });
    StartOn(5);
    const std::int64_t start = ui().GetHud().LevelSteps();
    Frames(60);
    EXPECT_EQ(ui().GetHud().LevelSteps(), start + 60);
    EXPECT_EQ(Hud::Clock(60), "0:01.00") << "60 steps of 1/60 s";
    EXPECT_EQ(Hud::Clock(60 * 75 + 3), "1:15.05");
    Press(VirtualKey::Escape, 2);
    const std::int64_t paused = ui().GetHud().LevelSteps();
    Frames(30);
    EXPECT_EQ(ui().GetHud().LevelSteps(), paused) << "the pause menu stops the clock";
    EXPECT_EQ(ui().GetHud().RunSteps(), paused) << "the run started on this level";
    EXPECT_TRUE(ShowsText("Level " + Hud::Clock(paused) + "\nRun " + Hud::Clock(paused)));
}

TEST_F(UISystemTest, LevelsFromTheTitleMenuPlayTheChosenLevelWithTheStarsFoundBeforeIt) {
    KeepProgress("vorl progress 1\nfurthest 6\nstars 2 1\nstars 4 2\nbest 3 600\n");
    // The plates count the stars in the level files, wherever the test runs from.
    Assets::SetRoot(VORL_SOURCE_DIR "/assets");
    StartOn(1);
    Press(VirtualKey::Down, 1);
    Press('S', 1);
    Press(VirtualKey::Return, 2);
    ASSERT_EQ(ui().Levels().SelectedLevel(), 6) << "the furthest level";
    Press(VirtualKey::Left, 1);
    Press('A', 1);
    Press(VirtualKey::Return, 3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 4);
    EXPECT_EQ(StarCount, 1) << "the stars found before level 4";
    EXPECT_FALSE(ui().GetHud().WholeRun());
    MessagingSystem::Send<ChangeLevelMessage>(5);  // the goal moves on in order
    Frames(3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 5);
    EXPECT_EQ(StarCount, 1);
    EXPECT_EQ(ProgressKeeper::Current().StarsFound(), 3) << "level 4's stars not counted twice";
    EXPECT_FALSE(ui().GetHud().WholeRun()) << "a run begun from the level select is not whole";
}

TEST_F(UISystemTest, ADebugKeySkipEndsAWholeRun) {
    StartOn(1);
    MessagingSystem::Send<DebugCommandMessage>(DebugCommand::NextLevel);
    MessagingSystem::Send<ChangeLevelMessage>(2);
    Frames(3);
    EXPECT_FALSE(ui().GetHud().WholeRun());
}

TEST_F(UISystemTest, ARunInOrderFromTheFirstLevelIsWholeAndItsTimeKeptAndShownAsTheBest) {
    KeepProgress("");
    StartOn(1);
    for (int level = 2; level <= 20; ++level) {
        MessagingSystem::Send<ChangeLevelMessage>(level);
        Frames(3);
        EXPECT_TRUE(ui().GetHud().WholeRun()) << "from the first level in order, at " << level;
    }
    const std::int64_t best = ProgressKeeper::Current().bestRunSteps;
    EXPECT_GE(best, 18 * 3);
    const auto texts = ScreenText::Texts();
    const std::string line = "Your run " + Hud::Clock(best) + "    Best run " + Hud::Clock(best);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
        return text.find(line) != std::string::npos;
    })) << line;
}

TEST_F(UISystemTest, LevelsFromThePauseMenuGoBackToIt) {
    OpenPauseMenu();
    Click("Levels");
    ASSERT_EQ(ui().screen, UISystem::Screen::Levels);
    EXPECT_EQ(ui().Levels().SelectedLevel(), 2) << "no progress kept: the first level alone";
    Press(VirtualKey::Escape, 2);
    EXPECT_EQ(Screen(), kPauseMenu);
    EXPECT_EQ(Selected(), "Levels");
    Press(VirtualKey::Return, 3);
    Press(VirtualKey::Return, 3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 2);
    EXPECT_FALSE(ui().menuOpen);
}

}  // namespace
