// The UISystem's screens drawn as lists rather than from button archetypes: the returning
// player's title menu, the options, the controls page and level select.
#include "ui/ui_system.h"

#include <algorithm>
#include <string>

#include "core/editor_mode.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "core/screen.h"
#include "gameplay/best_runs.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/screen_text.h"
#include "input/bindings.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/settings.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "ui/change_level_button_component.h"
#include "ui/menu_screens.h"

namespace {

// The options' rows, in order.
enum OptionsRow {
    kMusicVolume,
    kEffectsVolume,
    kMusicSwitch,
    kSoundSwitch,
    kDisplay,
    kVerticalSync,
    kShowTimer,
    kControls,
    kOptionsBack
};
// The question a returning player's "New Game" asks (the pause menu's are 0 to 2).
constexpr int kAskNewGame = 3;

// "Music (O)": a switch's row says the key that flips it, if it has one.
std::string WithKey(const char* label, Bindings::Action action) {
    const int key = Bindings::Of(Bindings::Current(), action).keys[0];
    return key == 0 ? label : std::string(label) + " (" + Bindings::KeyName(key) + ")";
}

std::string Percent(int volume) {
    return std::to_string(volume) + " %";
}

}  // namespace

void UISystem::ShowTitle(int selectedEntry) {
    ClearScreen();
    screen = Screen::Title;
    titleReturn_ = kContinue;
    list_.Show("Welcome back!",
               {{"Continue", ""},
                {"New Game", ""},
                {"Levels", ""},
                {"Options", ""},
                {"Credits", ""},
                {"Quit", ""}},
               selectedEntry);
    UpdateMenuText();
}

void UISystem::ShowOptions(int selectedRow) {
    ClearScreen();
    screen = Screen::Options;
    list_.Show("Options", OptionsRows(), selectedRow);
    UpdateMenuText();
}

std::vector<ListMenu::Row> UISystem::OptionsRows() const {
    const Settings& settings = SettingsKeeper::Current();
    const auto onOff = [](bool on) { return std::string(on ? "On" : "Off"); };
    return {
        {"Music volume", Percent(settings.musicVolume)},
        {"Effects volume", Percent(settings.effectsVolume)},
        {WithKey("Music", Bindings::Action::MusicMute), onOff(!musicOff)},
        {WithKey("Sound", Bindings::Action::SoundMute), onOff(!soundOff)},
        {"Display (Alt+Enter)", settings.fullScreen ? "Full screen" : "Window"},
        {"Vertical sync", onOff(settings.verticalSync)},
        {"Show timer", onOff(settings.showTimer)},
        {"Controls", ""},
        {"Back", ""},
    };
}

void UISystem::GoBack() {
    MessagingSystem::Send<BackToPauseMenuMessage>();
}

void UISystem::ListInput(ListMenu::Input input) {
    if (input.event == ListMenu::Event::None) {
        return;
    }
    if (screen == Screen::Title) {
        TitleInput(input);
    } else if (screen == Screen::Options) {
        OptionsInput(input);
    }
}

void UISystem::TitleInput(ListMenu::Input input) {
    if (input.event != ListMenu::Event::Activated) {
        return;
    }
    titleReturn_ = input.row;
    switch (input.row) {
        case kContinue:
            MessagingSystem::Send<ChangeLevelMessage>(ProgressKeeper::TakeContinue());
            break;
        case kNewGame:
            // The question shows its selected "No" as the list showed its selection.
            keyboardSelection_ = true;
            MessagingSystem::Send<AskConfirmationMessage>(kAskNewGame);
            break;
        case kTitleLevels:
            ShowLevels();
            break;
        case kTitleOptions:
            ShowOptions();
            break;
        case kTitleCredits:
            ShowPage("CreditsButton", Screen::Page, MenuScreens::kCredits);
            break;
        case kTitleQuit:
            MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kQuit);
            break;
        default:
            break;
    }
}

void UISystem::ShowLevels(std::optional<std::int32_t> selected) {
    ClearScreen();
    screen = Screen::Levels;
    const std::int32_t level = LevelManager::GetCurrentLevel();
    levels_.Show(ProgressKeeper::Current(),
                 selected.value_or(titleMenu ? ProgressKeeper::Current().furthestLevel : level));
    UpdateMenuText();
}

void UISystem::LevelsInput(LevelSelect::Input input) {
    switch (input.event) {
        case LevelSelect::Event::Play: {
            ProgressKeeper::ChooseLevel(input.level, StarsTakenHere);
            hud_.LevelChosen();
            // The level being played again is a restart: a request for the current level is none.
            const bool here = input.level == LevelManager::GetCurrentLevel();
            if (menuOpen) {
                MessagingSystem::Send<ResumeMessage>();
            }
            MessagingSystem::Send<ChangeLevelMessage>(here ? LevelManager::kRestart : input.level);
            break;
        }
        case LevelSelect::Event::Watch:
            if (LevelSelect::WatchHook() && LevelSelect::WatchHook()(input.level)) {
                hud_.RunBroken();
                // Watched from the title menu, the replay ends where it was chosen; from a level,
                // on that level.
                if (titleMenu) {
                    BestRuns::SetReturn(
                        [this, from = LevelManager::GetCurrentLevel(), watched = input.level] {
                            levelsAfterWatch_ = watched;
                            MessagingSystem::Send<ChangeLevelMessage>(from);
                        });
                } else {
                    BestRuns::SetReturn(nullptr);
                }
                if (menuOpen) {
                    MessagingSystem::Send<ResumeMessage>();
                }
                ClearScreen();
                menuOpen = false;
                screen = Screen::None;
            }
            break;
        case LevelSelect::Event::Back:
            GoBack();
            break;
        case LevelSelect::Event::None:
            break;
    }
}

void UISystem::OptionsInput(ListMenu::Input input) {
    using Event = ListMenu::Event;
    if (input.event == Event::Back ||
        (input.row == kOptionsBack && input.event == Event::Activated)) {
        GoBack();
        return;
    }
    // Return and a click step a volume up, round to silence after full.
    const int steps = input.event == Event::Decreased ? -1 : 1;
    const auto volume = [&](int current) {
        if (input.event == Event::Activated && current == Settings::kFullVolume) {
            return 0;
        }
        return StepVolume(current, steps);
    };
    switch (input.row) {
        case kMusicVolume:
            SettingsKeeper::Change([&](Settings& s) { s.musicVolume = volume(s.musicVolume); });
            break;
        case kEffectsVolume:
            SettingsKeeper::Change([&](Settings& s) { s.effectsVolume = volume(s.effectsVolume); });
            break;
        case kMusicSwitch:
            MessagingSystem::Send<ToggleMute1Message>(false);
            break;
        case kSoundSwitch:
            MessagingSystem::Send<ToggleMute2Message>(false);
            break;
        case kDisplay:
            SettingsKeeper::Change([](Settings& s) { s.fullScreen = !s.fullScreen; });
            break;
        case kVerticalSync:
            SettingsKeeper::Change([](Settings& s) { s.verticalSync = !s.verticalSync; });
            break;
        case kShowTimer:
            SettingsKeeper::Change([](Settings& s) { s.showTimer = !s.showTimer; });
            break;
        case kControls:
            if (input.event == Event::Activated) {
                ShowControls();
                return;
            }
            break;
        default:
            break;
    }
    list_.Refresh(OptionsRows());
}

void UISystem::ShowControls() {
    ClearScreen();
    screen = Screen::Controls;
    controls_.Open(list_);
    UpdateMenuText();
}

void UISystem::ControlsFrame() {
    if (controls_.Frame(list_, FrameRateController::GetDT())) {
        ShowOptions(kControls);
        return;
    }
    UpdateMenuText();
}
