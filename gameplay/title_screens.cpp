#include "gameplay/title_screens.h"

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "input/input_system.h"
#include "objects/level_manager.h"

VORL_REGISTER_COMPONENT(SplashScreenComponent) {
    VORL_MEMBERS(meta, timer);
}

VORL_REGISTER_SAVED_COMPONENT(PlayerControllerComponentVerticalShooter) {
    VORL_MEMBERS(meta, timer);
}

void SplashScreenComponent::Update() {
    HandleMessages();
    timer += static_cast<float>(FrameRateController::GetDT());
    if (timer >= kShowSeconds) {
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::GetCurrentLevel() + 1);
    }
}

void PlayerControllerComponentVerticalShooter::Update() {
    using namespace InputSystem;
    if (!gameBegun) {
        gameBegun = true;
        BeginNewGame();
    }
    // A returning player answers the menu's "Continue" or "New Game" instead; the key that
    // answers must not also skip to the first level.
    if (ProgressKeeper::ContinueOffered()) {
        continueOffered_ = true;
    }
    if (continueOffered_) {
        return;
    }
    timer += static_cast<float>(FrameRateController::GetDT());
    const bool skipped = PadButtonTriggered(0, PadButton::A) || MouseLeftTriggered() ||
                         MouseRightTriggered() || KeyTriggered(VirtualKey::Space) ||
                         KeyTriggered(VirtualKey::Return) || KeyTriggered(VirtualKey::Escape) ||
                         PadButtonTriggered(0, PadButton::Start);
    if (timer > kShowSeconds || skipped) {
        MessagingSystem::Send<ChangeLevelMessage>(kFirstPlayableLevel);
    }
}
