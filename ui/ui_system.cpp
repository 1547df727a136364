#include "ui/ui_system.h"

#include <algorithm>
#include <iostream>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "editor/editor_mode.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "ui/change_level_button_component.h"
#include "ui/menu_screens.h"

namespace {

constexpr std::int32_t kFinalLevel = 20;
constexpr double kNavRepeat = 0.2;
constexpr float kStickThreshold = 0.2f;
// Between the level and the menu (buttons and pages draw at 8).
constexpr float kVeilZ = 7.5f;
// The quad spans twice the scale: a little more than the 1600 x 900 view at zoom 1.
constexpr Vector2D kVeilScale{820.0f, 470.0f};
constexpr float kVeilAlpha = 0.6f;

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
            std::cerr << "UISystem: no archetype \"" << entry.archetype << "\" for the menu\n";
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
    for (Object* object : menuObjects) {
        // Something else may have destroyed it already (an editor clearing the level).
        if (IsLive(object)) {
            object->Destroy();
        }
    }
    menuObjects.clear();
}

void UISystem::ForgetLevelObjects() {
    menuObjects.clear();
    veil_ = nullptr;
}

void UISystem::UpdateVeil() {
    const bool wanted = menuOpen && !menuObjects.empty();
    if (veil_ && !IsLive(veil_)) {
        veil_ = nullptr;
    }
    if (wanted && !veil_) {
        veil_ = new Object;
        veil_->SetName("MenuVeil");
        auto* square = new ColoredSquareComponent;
        square->redTint = square->greenTint = square->blueTint = 0.0f;
        square->alphaTint = kVeilAlpha;
        veil_->AddComponent("ColoredSquareComponent", square);
        LevelObjects().push_back(veil_);
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

void UISystem::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::LevelStarted:
                uiStarted_ = false;
                menuOpen = false;
                if (LevelManager::GetCurrentLevel() == kFinalLevel) {
                    BuildScreen(MenuScreens::FinalScreen());
                }
                break;
            case MessageType::ChangeLevel:
                ClearScreen();
                break;
            case MessageType::ClearLevel:
                // The object system, earlier in this frame, destroyed every level object.
                ForgetLevelObjects();
                break;
            case MessageType::EnterLevelEditor:
                menuOpen = false;
                ForgetLevelObjects();
                break;
            case MessageType::EnterArchetypeEditor:
                menuOpen = false;
                break;
            case MessageType::TogglePause:
            case MessageType::DeviceLostToggle:
                menuOpen = true;
                ClearScreen();
                BuildScreen(MenuScreens::PauseMenu());
                break;
            case MessageType::Resume:
                ClearScreen();
                menuOpen = false;
                break;
            case MessageType::RegisterComponent: {
                const auto& reg = static_cast<const RegisterComponentMessage&>(*message);
                if (reg.family == ComponentFamily::GUI) {
                    guiComponents_.AddAnnounced(reg.component);
                }
                break;
            }
            case MessageType::ArchetypesLoaded:
                guiComponents_.Clear();
                break;
            case MessageType::AskConfirmation:
                ClearScreen();
                BuildScreen(MenuScreens::Confirmation(),
                            static_cast<const AskConfirmationMessage&>(*message).action);
                break;
            case MessageType::BackToPauseMenu:
            case MessageType::ReturnToPauseMenu:
                ClearScreen();
                BuildScreen(MenuScreens::PauseMenu());
                break;
            case MessageType::ShowCredits:
                ClearScreen();
                BuildScreen(MenuScreens::CreditsPage());
                break;
            case MessageType::ShowHowToPlay:
                ClearScreen();
                BuildScreen(MenuScreens::HowToPlayPage());
                break;
            case MessageType::ShowOptions:
                ClearScreen();
                BuildScreen(MenuScreens::Options());
                break;
            default:
                break;
        }
    }
    UpdateVeil();
}

void UISystem::Update() {
    if (!uiStarted_) {
        uiStarted_ = true;
        Initialize();
    }
    HandleMessages();
    // Detached components leave the list on every frame, menu or not, so that their storage can
    // be reclaimed; this also keeps the running index of the GUI pass to live buttons, and none
    // is updated twice in a frame.
    guiComponents_.Prune();
    const std::int32_t level = LevelManager::GetCurrentLevel();
    // The splash and controller screens have no menu.
    if (level == 0 || level == 1) {
        return;
    }
    const bool pauseKey = InputSystem::KeyTriggered(VirtualKey::Escape) ||
                          InputSystem::PadButtonTriggered(0, PadButton::Start);
    if (pauseKey && !EditorMode::IsActive() && level != kFinalLevel) {
        if (menuOpen) {
            MessagingSystem::Send<ResumeMessage>();
        } else {
            MessagingSystem::Send<TogglePauseMessage>();
        }
    }
    if (!menuObjects.empty()) {
        Navigate();
    }
    GuiPass();
}

void UISystem::Navigate() {
    navTimer_ += FrameRateController::GetDT();
    if (InputSystem::PadConnected(0) && navTimer_ >= kNavRepeat) {
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
    const bool pad = InputSystem::PadConnected(0);
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
