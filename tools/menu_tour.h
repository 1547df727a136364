// The headless runner's tour of the menus: every menu screen opened in turn, as the menus' buttons
// would, so that what they draw is drawn.
#pragma once

#include <iterator>

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
        kScreens[step_++]();
    }

private:
    // What each step sends, in turn; the last closes the menus again.
    static constexpr void (*kScreens[])() = {
        [] { MessagingSystem::Send<TogglePauseMessage>(); },
        [] { MessagingSystem::Send<ShowHowToPlayMessage>(); },
        [] { MessagingSystem::Send<ShowCreditsMessage>(); },
        [] { MessagingSystem::Send<ShowOptionsMessage>(); },
        [] { MessagingSystem::Send<AskConfirmationMessage>(LevelManager::kQuit); },
        [] { MessagingSystem::Send<ResumeMessage>(); },
    };
    static constexpr int kSteps = std::size(kScreens);
    static constexpr long kFramesPerScreen = 60;
    int step_ = 0;
    long frames_ = 0;
};

}  // namespace tools
