// The headless runner's tour of the menus: every menu screen opened in turn, as the menus' buttons
// would, so that what they draw is drawn.
#pragma once

#include "core/messages.h"
#include "core/messaging.h"
#include "objects/level_manager.h"

namespace tools {

// Opens each menu screen in turn, as the menus' buttons would, once a level runs.
class MenuTour {
public:
    void AfterFrame(bool levelRunning) {
        if (!levelRunning || step_ >= kSteps) {
            return;
        }
        if (++frames_ % kFramesPerScreen != 0) {
            return;
        }
        switch (step_++) {
            case 0:
                MessagingSystem::Send<TogglePauseMessage>();
                break;
            case 1:
                MessagingSystem::Send<ShowHowToPlayMessage>();
                break;
            case 2:
                MessagingSystem::Send<ShowCreditsMessage>();
                break;
            case 3:
                MessagingSystem::Send<ShowOptionsMessage>();
                break;
            case 4:
                MessagingSystem::Send<AskConfirmationMessage>(LevelManager::kQuit);
                break;
            default:
                MessagingSystem::Send<ResumeMessage>();
                break;
        }
    }

private:
    static constexpr int kSteps = 6;
    static constexpr long kFramesPerScreen = 60;
    int step_ = 0;
    long frames_ = 0;
};

}  // namespace tools
