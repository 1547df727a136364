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

constexpr std::int32_t kControllerScreen = 1;
constexpr std::int32_t kFinalLevel = 20;
constexpr platform::Argb kQuestionColour = 0xFFFFFFFFu;
constexpr double kNavRepeat = 0.2;
constexpr float kStickThreshold = 0.2f;
// Between the level and the menu (buttons and pages draw at 8).
constexpr float kVeilZ = 7.5f;
// The quad spans twice the scale: a little more than the 1600 x 900 view at zoom 1.
constexpr Vector2D kVeilScale{820.0f, 470.0f};
constexpr float kVeilAlpha = 0.6f;
// Under the title menu the veil stands alone: the night blue of the game's title art.
constexpr float kTitleVeil[] = {0.09f, 0.11f, 0.17f, 1.0f};

Vector2D CameraPosition() {
    const Camera* camera = MainCamera();
    return camera ? camera->GetPosition() : Vector2D{};
}

float CameraZoom() {
    const Camera* camera = MainCamera();
    return camera ? camera->GetZoom() : 1.0f;
}

bool IsLive(const Object* object) {
    const auto& live = LevelObjects();
    return std::find(live.begin(), live.end(), object) != live.end();
}

}  // namespace

UISystem::UISystem() {
    FileReactions();
    LevelSelect::SetWatchHook(BestRuns::Watch);
    LevelSelect::SetHasBestRun(BestRuns::Has);
}

UISystem::~UISystem() {
    ScreenText::Clear(kMenuTextOwner);
}

void UISystem::Shutdown() {
    ClearScreen();
    menuOpen = false;
    UpdateVeil();
}

void UISystem::BuildScreen(std::span<const MenuEntry> entries, int confirmTarget) {
    const Vector2D origin = CameraPosition();
    for (const MenuEntry& entry : entries) {
        const Object* archetype = ArchetypeTable().Get(entry.archetype);
        if (!archetype) {
            DataDiagnostics::Report(Assets::PathOf("Objects"), 0,
                                    "no archetype \"" + std::string(entry.archetype) +
                                        "\" for the menu; its entry is left out");
            continue;
        }
        Object* object = archetype->Clone();
        Transform2D& transform = object->GetTransform();
        transform.SetPosition(origin + entry.offset);
        transform.SetScale(entry.scale);
        if (entry.zlayer >= 0.0f) {
            transform.SetZLayer(entry.zlayer);
        }
        object->SetVisible(true);
        if (auto* button = object->Get<ChangeLevelButtonComponent>("ChangeLevelButtonComponent")) {
            if (entry.action >= 0) {
                button->NextLevel = entry.action;
            }
            if (confirmTarget >= 0) {
                button->confirmTarget = confirmTarget;
            }
        }
        menuObjects.push_back(object);
    }
}

void UISystem::ClearScreen() {
    list_.Hide();
    levels_.Hide();
    for (Object* object : menuObjects) {
        // Something else may have destroyed it already (an editor clearing the level).
        if (IsLive(object)) {
            object->Destroy();
        }
    }
    menuObjects.clear();
}

void UISystem::Show(Screen shown, std::span<const MenuEntry> entries, int confirmTarget) {
    ClearScreen();
    BuildScreen(entries, confirmTarget);
    screen = shown;
    selected = 0;
    UpdateMenuText();
}

void UISystem::SelectEntry(const char* archetype) {
    for (std::size_t i = 0; i < menuObjects.size(); ++i) {
        if (menuObjects[i]->GetName() == archetype) {
            selected = static_cast<int>(i);
            return;
        }
    }
}

void UISystem::UpdateMenuText() {
    // Screen pixels: the menus are built around the camera, which is the screen's centre.
    constexpr int kCentre = ::Screen::kWidth / 2;
    std::vector<ScreenText::Line> lines;
    switch (screen) {
        case Screen::Question: {
            static constexpr const char* kQuestions[] = {"Quit the game?", "Restart this level?",
                                                         "Restart the game?",
                                                         "Start a new game from the first level?"};
            if (question_ >= 0 && question_ < 4) {
                lines.push_back({kQuestions[question_], kCentre, 300, true, kQuestionColour});
            }
            break;
        }
        case Screen::Controls:
            if (controls_.Message().empty()) {
                break;
            }
            lines.push_back(
                {controls_.Message(), kCentre, ::Screen::kHeight - 80, true, kQuestionColour});
            break;
        default:
            break;
    }
    ScreenText::Set(kMenuTextOwner, std::move(lines));
}

void UISystem::ForgetLevelObjects() {
    menuObjects.clear();
    list_.Forget();
    levels_.Forget();
    veil_ = nullptr;
}

void UISystem::UpdateVeil() {
    const bool wanted =
        (menuOpen || titleMenu) && (!menuObjects.empty() || list_.Showing() || levels_.Showing());
    if (veil_ && !IsLive(veil_)) {
        veil_ = nullptr;
    }
    if (wanted && !veil_) {
        veil_ = new Object;
        veil_->SetName("MenuVeil");
        auto* square = new ColoredSquareComponent;
        square->redTint = square->greenTint = square->blueTint = 0.0f;
        if (titleMenu) {
            square->redTint = kTitleVeil[0];
            square->greenTint = kTitleVeil[1];
            square->blueTint = kTitleVeil[2];
            square->alphaTint = kTitleVeil[3];
        } else {
            square->alphaTint = kVeilAlpha;
        }
        veil_->AddComponent("ColoredSquareComponent", square);
        LevelObjects().push_back(veil_);
    }
    if (titleMenu) {
        // The title menu stands alone: the gamepad notice's pictures do not show through.
        for (Object* object : LevelObjects()) {
            if (object->GetComponent("TextureComponent") &&
                std::find(menuObjects.begin(), menuObjects.end(), object) == menuObjects.end()) {
                object->SetVisible(false);
            }
        }
    }
    if (veil_ && wanted) {
        veil_->GetTransform().SetPosition(CameraPosition());
        veil_->GetTransform().SetScale(kVeilScale * CameraZoom());
        veil_->GetTransform().SetZLayer(kVeilZ);
        veil_->SetVisible(true);
    } else if (veil_) {
        veil_->Destroy();
        veil_ = nullptr;
    }
}

void UISystem::FileReactions() {
    reactions_
        .On({MessageType::LevelStarted},
            [this] {
                menuOpen = false;
                screen = Screen::None;
                const std::int32_t level = LevelManager::GetCurrentLevel();
                SettleStarsAtLevelStart(level);
                hud_.LevelStarted(level);
                // A replay is no visit: what it finds and how fast it wins are not the player's.
                if (!BestRuns::IsWatching()) {
                    ProgressKeeper::LevelStarted(level, StarCountAtLevelStart,
                                                 StarsTakenInLevelLeft);
                }
                if (level == kFinalLevel) {
                    BuildScreen(MenuScreens::kFinalScreen);
                    screen = Screen::Final;
                    selected = 0;
                } else if (level == kControllerScreen && ProgressKeeper::ContinueOffered()) {
                    titleMenu = true;
                    ShowTitle(kContinue);
                    if (levelsAfterWatch_) {
                        titleReturn_ = kTitleLevels;
                        ShowLevels(levelsAfterWatch_);
                    }
                }
                levelsAfterWatch_.reset();
                UpdateMenuText();
            })
        .On({MessageType::ChangeLevel},
            [this] {
                ClearScreen();
                titleMenu = false;
                screen = Screen::None;
                UpdateMenuText();
            })
        .On({MessageType::Resume},
            [this] {
                ClearScreen();
                menuOpen = false;
                screen = Screen::None;
                UpdateMenuText();
            })
        .On({MessageType::ClearLevel},
            [this] {
                // The object system, earlier in this frame, destroyed every level object.
                ForgetLevelObjects();
            })
        .On({MessageType::EnterLevelEditor},
            [this] {
                menuOpen = false;
                ForgetLevelObjects();
                screen = Screen::None;
                UpdateMenuText();
            })
        .On({MessageType::EnterArchetypeEditor}, [this] { menuOpen = false; })
        .On({MessageType::TogglePause, MessageType::DeviceLostToggle},
            [this] {
                menuOpen = true;
                Show(Screen::PauseMenu, MenuScreens::kPauseMenu);
            })
        .On<RegisterComponentMessage>([this](const RegisterComponentMessage& reg) {
            if (reg.family == ComponentFamily::GUI) {
                guiComponents_.AddAnnounced(reg.component);
            }
        })
        .On({MessageType::ArchetypesLoaded}, [this] { guiComponents_.Clear(); })
        .On<AskConfirmationMessage>([this](const AskConfirmationMessage& ask) {
            question_ = ask.action;
            returnEntry_ = "Resume";
            Show(Screen::Question, MenuScreens::kConfirmation, question_);
            SelectEntry("No");
        })
        .On({MessageType::BackToPauseMenu, MessageType::ReturnToPauseMenu},
            [this] {
                if (titleMenu) {
                    ShowTitle(titleReturn_);
                    return;
                }
                if (LevelManager::GetCurrentLevel() == kFinalLevel) {
                    // "No" to the final screen's restart: back to its own two buttons.
                    Show(Screen::Final, MenuScreens::kFinalScreen);
                    return;
                }
                Show(Screen::PauseMenu, MenuScreens::kPauseMenu);
                SelectEntry(returnEntry_);
                returnEntry_ = "Resume";
            })
        .On({MessageType::ShowCredits},
            [this] { ShowPage("CreditsButton", Screen::Page, MenuScreens::kCredits); })
        .On({MessageType::ShowHowToPlay},
            [this] { ShowPage("Howtoplay", Screen::Page, MenuScreens::kHowToPlay); })
        .On({MessageType::ShowLevelSelect},
            [this] {
                returnEntry_ = "Levels";
                ShowLevels();
            })
        .On({MessageType::ShowOptions},
            [this] {
                returnEntry_ = "Options";
                ShowOptions();
            })
        .On<DebugCommandMessage>([this](const DebugCommandMessage& debug) {
            using enum DebugCommand;
            const DebugCommand c = debug.command;
            if (c == NextLevel || c == PreviousLevel || c == EndLevel || c == EndSkip) {
                hud_.RunBroken();
            }
        })
        .On({MessageType::ToggleMute1}, [this] { FlipMuteSwitch(musicOff, "Music"); })
        .On({MessageType::ToggleMute2}, [this] { FlipMuteSwitch(soundOff, "Sound"); });
}

void UISystem::ShowPage(const char* returnEntry, Screen shown, std::span<const MenuEntry> entries) {
    returnEntry_ = returnEntry;
    Show(shown, entries);
}

void UISystem::FlipMuteSwitch(bool& off, const std::string& what) {
    off = !off;
    hud_.Notice(what + (off ? " off" : " on"));
    SettingsKeeper::Change([this](Settings& settings) {
        settings.musicOff = musicOff;
        settings.soundOff = soundOff;
    });
    if (screen == Screen::Options) {
        list_.Refresh(OptionsRows());
    }
}

void UISystem::HandleMessages() {
    System::HandleMessages();
    UpdateVeil();
}

void UISystem::Update() {
    HandleMessages();
    // Detached components leave the list on every frame, menu or not, so that their storage can
    // be reclaimed; this also keeps the running index of the GUI pass to live buttons, and none
    // is updated twice in a frame.
    guiComponents_.Prune();
    const bool simulating = !menuOpen && !EditorMode::IsActive();
    BestRuns::Step(simulating);
    if (simulating) {
        hud_.CountStep();
    }
    hud_.Update(FrameRateController::GetDT());
    // Saved progress that could not be read is said on the first screen; the progress file is
    // written again only once the player has had time to read it.
    if (!ProgressKeeper::Notice().empty()) {
        if (hud_.WarningRead()) {
            ProgressKeeper::NoticeSeen();
        } else if (!hud_.WarningGiven()) {
            hud_.Warn(ProgressKeeper::Notice());
        }
    }
    // The mouse takes over from the keyboard's selection as soon as it moves.
    const int mouseX = InputSystem::GetMouseX(), mouseY = InputSystem::GetMouseY();
    if (mouseX != mouseX_ || mouseY != mouseY_) {
        mouseX_ = mouseX;
        mouseY_ = mouseY;
        keyboardSelection_ = false;
    }
    const std::int32_t level = LevelManager::GetCurrentLevel();
    // The splash and controller screens have no pause menu; the controller screen may show a
    // returning player's choice.
    const bool titleScreen = level == 0 || level == kControllerScreen;
    if (titleScreen && menuObjects.empty() && !list_.Showing() && !levels_.Showing()) {
        return;
    }
    if (!titleScreen) {
        PauseKey(level);
    } else if (titleMenu && screen != Screen::Title && screen != Screen::Controls &&
               (InputSystem::KeyTriggered(VirtualKey::Escape) ||
                InputSystem::PadButtonTriggered(0, PadButton::B))) {
        GoBack();
    }
    if (list_.Showing()) {
        // The window may have changed its mode by Alt+Enter.
        if (screen == Screen::Options) {
            list_.Refresh(OptionsRows());
        }
        if (screen == Screen::Controls) {
            ControlsFrame();
        } else {
            ListInput(list_.Update(FrameRateController::GetDT()));
        }
    }
    if (levels_.Showing()) {
        LevelsInput(levels_.Update(FrameRateController::GetDT()));
    }
    if (!menuObjects.empty()) {
        Navigate();
    }
    GuiPass();
}

void UISystem::PauseKey(std::int32_t level) {
    // The controls page reads its own keys: a key awaited may be any of them.
    const bool keyboard = Bindings::KeysTriggered(Bindings::Action::Pause);
    const bool pauseKey = keyboard || Bindings::PadTriggered(Bindings::Action::Pause, 0);
    if (!pauseKey || EditorMode::IsActive() || screen == Screen::Controls) {
        return;
    }
    // A replay is watched, not played: the pause key ends it.
    if (BestRuns::IsWatching()) {
        BestRuns::StopWatching();
        return;
    }
    // The final screen has no pause menu, but its restart question goes back on the key too.
    if (level == kFinalLevel && screen != Screen::Question) {
        return;
    }
    if (keyboard) {
        keyboardSelection_ = true;
    }
    const bool finalQuestion = level == kFinalLevel;
    if (!menuOpen && !finalQuestion) {
        MessagingSystem::Send<TogglePauseMessage>();
    } else if (screen == Screen::Question || screen == Screen::Options || screen == Screen::Page ||
               screen == Screen::Levels) {
        // One page back, as "No" and "Back" do.
        MessagingSystem::Send<BackToPauseMenuMessage>();
    } else {
        MessagingSystem::Send<ResumeMessage>();
    }
}

bool UISystem::KeyboardNavigation() {
    using InputSystem::KeyTriggered;
    // Left and right serve the screens whose buttons stand side by side.
    const bool up = KeyTriggered(VirtualKey::Up) || KeyTriggered('W') ||
                    KeyTriggered(VirtualKey::Left) || KeyTriggered('A');
    const bool down = KeyTriggered(VirtualKey::Down) || KeyTriggered('S') ||
                      KeyTriggered(VirtualKey::Right) || KeyTriggered('D') ||
                      KeyTriggered(VirtualKey::Tab);
    if (up || down || KeyTriggered(VirtualKey::Return) || KeyTriggered(VirtualKey::Space)) {
        keyboardSelection_ = true;
    }
    if (up) {
        --selected;
    } else if (down) {
        ++selected;
    }
    return up || down;
}

void UISystem::Navigate() {
    navTimer_ += FrameRateController::GetDT();
    if (KeyboardNavigation()) {
        // The keyboard moved the selection this frame; the pad waits for the next.
    } else if (InputSystem::PadConnected(0) && navTimer_ >= kNavRepeat) {
        navTimer_ = 0.0;
        using InputSystem::LeftStickY, InputSystem::RightStickY, InputSystem::PadButtonTriggered;
        if (LeftStickY(0) > kStickThreshold || RightStickY(0) > kStickThreshold ||
            PadButtonTriggered(0, PadButton::DPadUp)) {
            --selected;
        } else if (LeftStickY(0) < -kStickThreshold || RightStickY(0) < -kStickThreshold ||
                   PadButtonTriggered(0, PadButton::DPadDown)) {
            ++selected;
        } else {
            navTimer_ = 100.0;
        }
    }
    const int count = static_cast<int>(menuObjects.size());
    if (selected >= count) {
        selected = 0;
    } else if (selected < 0) {
        selected = count - 1;
    }
}

void UISystem::GuiPass() {
    const bool pad = InputSystem::PadConnected(0) || keyboardSelection_;
    int index = 0;
    guiComponents_.Walk([&](GUIComponent& component) {
        if (auto* button = dynamic_cast<ChangeLevelButtonComponent*>(&component)) {
            const bool over = InputSystem::IsMouseOver(*component.GetOwner());
            button->mouseOver = over;
            button->padSelected = pad && index == selected;
            button->hovered = button->padSelected || over;
        }
        component.Update();
        ++index;
    });
}
