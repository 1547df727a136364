#include "ui/change_level_button_component.h"

#include "core/messaging.h"
#include "gameplay/progress.h"
#include "graphics/texture_component.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(ChangeLevelButtonComponent) {
    VORL_MEMBERS(meta, NextLevel, texture, hovertexture);
}

namespace {

// The confirmation buttons hide when the pause menu comes up over them.
bool IsConfirmationAction(std::int32_t action) {
    return action == ChangeLevelButtonComponent::kConfirm ||
           action == ChangeLevelButtonComponent::kBackToPauseMenu ||
           action == ChangeLevelButtonComponent::kBackToPauseMenuToo;
}

void RestartGame() {
    // A new game starts at the controller screen (level 1); on the splash and controller screens
    // themselves, restarting reloads the screen shown.
    if (LevelManager::GetCurrentLevel() < 2) {
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kRestart);
    } else {
        MessagingSystem::Send<ChangeLevelMessage>(1);
    }
}

}  // namespace

void ChangeLevelButtonComponent::HandleMessages() {
    if (!owner) {
        return;
    }
    using MessagingSystem::WasSent;
    if (WasSent(MessageType::TogglePause) || WasSent(MessageType::DeviceLostToggle)) {
        owner->SetVisible(!IsConfirmationAction(NextLevel));
    }
    // A resume in the same frame as a pause wins: the game goes on without the menu.
    if (WasSent(MessageType::Resume)) {
        owner->SetVisible(false);
    }
}

void ChangeLevelButtonComponent::Update() {
    HandleMessages();
    if (!owner) {
        return;
    }
    owner->GetTransform().SetZLayer(8.0f);
    if (owner->IsVisible()) {
        ++visibleFrames;
    } else {
        visibleFrames = 0;
    }
    if (!owner->IsVisible() || visibleFrames < 2) {
        return;
    }
    if (!hovered) {
        wasHovered = false;
        Show(texture);
        return;
    }
    Show(hovertexture);
    if (!wasHovered) {
        MessagingSystem::Send<RestartSoundsMessage>();
    }
    wasHovered = true;

    const bool padPress = InputSystem::PadConnected(0) &&
                          InputSystem::PadButtonTriggered(0, PadButton::A) && padSelected;
    const bool keyPress = padSelected && (InputSystem::KeyTriggered(VirtualKey::Return) ||
                                          InputSystem::KeyTriggered(VirtualKey::Space));
    const bool mousePress = mouseOver && InputSystem::MouseLeftTriggered();
    if (padPress || keyPress || mousePress) {
        Act();
    }
}

void ChangeLevelButtonComponent::Show(const std::string& name) {
    auto* sprite = owner->Get<TextureComponent>("TextureComponent");
    // Re-applying the shown texture every frame would restart its animation.
    if (sprite && sprite->filename != name) {
        sprite->SetAnimation(name);
        sprite->filename = name;
    }
}

void ChangeLevelButtonComponent::Act() {
    using MessagingSystem::Send;
    switch (NextLevel) {
        case kResume:
            Send<ResumeMessage>();
            break;
        case kAskQuit:
            Send<AskConfirmationMessage>(0);
            break;
        case kShowHowToPlay:
            Send<ShowHowToPlayMessage>();
            break;
        case kShowCredits:
            Send<ShowCreditsMessage>();
            break;
        case kConfirm:
            if (confirmTarget == 0) {
                Send<ChangeLevelMessage>(LevelManager::kQuit);
            } else if (confirmTarget == 1) {
                Send<ResumeMessage>();
                Send<ChangeLevelMessage>(LevelManager::kRestart);
            } else if (confirmTarget == 2) {
                Send<ResumeMessage>();
                RestartGame();
            } else if (confirmTarget == 3) {
                // A returning player's new game, from the title menu.
                ProgressKeeper::DeclineContinue();
                Send<ChangeLevelMessage>(2);
            }
            break;
        case kBackToPauseMenu:
        case kBackToPauseMenuToo:
            Send<BackToPauseMenuMessage>();
            break;
        case kAskReloadLevel:
            Send<AskConfirmationMessage>(1);
            confirmTarget = 1;
            break;
        case kAskRestartGame:
            Send<AskConfirmationMessage>(2);
            confirmTarget = 2;
            break;
        case kShowOptions:
            Send<ShowOptionsMessage>();
            break;
        case kShowLevelSelect:
            Send<ShowLevelSelectMessage>();
            break;
        case kToggleSound:
            Send<ToggleMute2Message>(false);
            break;
        case kToggleMusic:
            Send<ToggleMute1Message>(false);
            break;
        case kRestartGame:
            RestartGame();
            break;
        case kQuitGame:
            Send<ChangeLevelMessage>(LevelManager::kQuit);
            break;
        case kReturnToPauseMenu:
            Send<ReturnToPauseMenuMessage>();
            break;
        case kContinue:
            Send<ChangeLevelMessage>(ProgressKeeper::TakeContinue());
            break;
        case kNewGame:
            ProgressKeeper::DeclineContinue();
            Send<ChangeLevelMessage>(2);
            break;
        default:
            break;
    }
}
