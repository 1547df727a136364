#include "ui/hud.h"

#include <cstdio>

#include "core/frame_rate_controller.h"
#include "core/screen.h"
#include "gameplay/best_runs.h"
#include "gameplay/ending.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "graphics/screen_text.h"
#include "meta/settings.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace {

constexpr std::int32_t kFirstPlayableLevel = 2;
constexpr std::int32_t kEndingLevel = 19;
constexpr std::int32_t kFinalLevel = 20;
constexpr platform::Argb kStarColour = 0xFFFFFFFFu;
constexpr platform::Argb kNoticeColour = 0xFFFFFFFFu;
constexpr platform::Argb kWarningColour = 0xFFFFD060u;
// Top right, clear of the levels' signs and of the menus in the middle.
constexpr int kStarsX = Screen::kWidth - 150;
constexpr int kStarsY = 14;
// Top left, where the star counter is not.
constexpr int kTimerX = 20;

}  // namespace

Hud::Hud() = default;

Hud::~Hud() {
    ScreenText::Clear(kWarningOwner);
    ScreenText::Clear(kTimerOwner);
    ScreenText::Clear(kStarsOwner);
    ScreenText::Clear(kNoticeOwner);
    ScreenText::Clear(kEndingOwner);
}

void Hud::LevelStarted(std::int32_t level) {
    // A replay's visit, to its end, is no play of the player's: its time and its goal count for
    // nothing.
    replay_ = BestRuns::IsWatching();
    if (level == kEndingLevel) {
        starsAtEnding_ = StarCountAtLevelStart;
    }
    // A restart keeps the level's time running; moving on starts it again. Every run passes the
    // gamepad notice, where the run's time starts.
    if (level != level_) {
        levelSteps_ = 0;
        const bool fromStart = level == kFirstPlayableLevel && level_ < kFirstPlayableLevel;
        const bool inOrder = level == level_ + 1 && level_ >= kFirstPlayableLevel;
        if (levelChosen_ || !(fromStart || inOrder)) {
            wholeRun_ = false;
        } else if (fromStart) {
            wholeRun_ = true;
        }
        levelChosen_ = false;
    }
    goalReported_ = false;
    if (level < kFirstPlayableLevel) {
        runSteps_ = 0;
    }
    finishedRun_ = -1;
    if (level == kFinalLevel && level_ != kFinalLevel && wholeRun_) {
        finishedRun_ = runSteps_;
        ProgressKeeper::RunFinished(runSteps_);
    }
    level_ = level;
    objectsCounted_ = 0;
    starsPlaced_ = 0;
    shownStars_.clear();
    endingHint_.clear();
    ScreenText::Clear(kStarsOwner);
    ScreenText::Clear(kEndingOwner);
}

void Hud::LevelChosen() {
    RunBroken();
    goalReported_ = false;
    runSteps_ = 0;
}

void Hud::RunBroken() {
    levelChosen_ = true;
    wholeRun_ = false;
    goalReported_ = true;
}

void Hud::UpdateGoal() {
    if (goalReported_ || replay_ || level_ < kFirstPlayableLevel || level_ >= kFinalLevel) {
        return;
    }
    const PlayerControlComponent* control = gameplay::LevelPlayer();
    if (control && control->IsWinning()) {
        goalReported_ = true;
        ProgressKeeper::LevelWon(level_, levelSteps_);
    }
}

void Hud::Notice(std::string text) {
    ScreenText::Set(kNoticeOwner, {{std::move(text), Screen::kWidth / 2, 96, true, kNoticeColour}});
    noticeLeft_ = kNoticeShown;
}

void Hud::Warn(std::string text) {
    ScreenText::Set(kWarningOwner,
                    {{std::move(text), Screen::kWidth / 2, 150, true, kWarningColour}});
    warningGiven_ = true;
    warningLeft_ = kWarningShown;
}

void Hud::Update(double dt) {
    if (warningLeft_ > 0.0) {
        warningLeft_ -= dt;
        if (warningLeft_ <= 0.0) {
            ScreenText::Clear(kWarningOwner);
        }
    }
    if (noticeLeft_ > 0.0) {
        noticeLeft_ -= dt;
        if (noticeLeft_ <= 0.0) {
            ScreenText::Clear(kNoticeOwner);
        }
    }
    UpdateGoal();
    UpdateStars(level_);
    UpdateEnding(level_);
    UpdateTimer();
}

void Hud::CountStep() {
    if (!replay_ && level_ >= kFirstPlayableLevel && level_ < kFinalLevel) {
        ++levelSteps_;
        ++runSteps_;
    }
}

std::string Hud::Clock(std::int64_t steps) {
    const auto hundredths = static_cast<std::int64_t>(static_cast<double>(steps) *
                                                      FrameRateController::GetDT() * 100.0);
    char text[32];
    std::snprintf(
        text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(hundredths / 6000),
        static_cast<long long>(hundredths / 100 % 60), static_cast<long long>(hundredths % 100));
    return text;
}

void Hud::UpdateTimer() {
    std::string text;
    if (SettingsKeeper::Current().showTimer && level_ >= kFirstPlayableLevel &&
        level_ < kFinalLevel) {
        text = "Level " + Clock(levelSteps_) + "\nRun " + Clock(runSteps_);
    }
    if (text == shownTimer_) {
        return;
    }
    shownTimer_ = text;
    if (text.empty()) {
        ScreenText::Clear(kTimerOwner);
    } else {
        ScreenText::Set(kTimerOwner, {{text, kTimerX, kStarsY, false, kStarColour}});
    }
}

void Hud::UpdateStars(std::int32_t level) {
    if (starsInGame_ < 0) {
        starsInGame_ = StarsInGame();
    }
    std::string text;
    if (level >= kFirstPlayableLevel && level < kEndingLevel) {
        // Count the level's stars once its objects are all there; collected ones stay, hidden.
        if (LevelObjects().size() != objectsCounted_) {
            objectsCounted_ = LevelObjects().size();
            starsPlaced_ = 0;
            for (const Object* object : LevelObjects()) {
                if (object->GetComponent("StarComponent")) {
                    ++starsPlaced_;
                }
            }
        }
        const std::int32_t here = StarCount - StarCountAtLevelStart;
        text = "Stars here " + std::to_string(here) + " / " + std::to_string(starsPlaced_) +
               "\nIn all " + std::to_string(StarCount) + " / " + std::to_string(starsInGame_);
    } else if (level == kFinalLevel) {
        const std::int32_t found = starsAtEnding_ >= 0 ? starsAtEnding_ : StarCount;
        text =
            "You found " + std::to_string(found) + " of " + std::to_string(starsInGame_) + " stars";
        if (ProgressKeeper::Enabled()) {
            text +=
                "\nBest found so far: " + std::to_string(ProgressKeeper::Current().StarsFound()) +
                " of " + std::to_string(starsInGame_);
            const std::int64_t best = ProgressKeeper::Current().bestRunSteps;
            if (finishedRun_ > 0) {
                text += "\nYour run " + Clock(finishedRun_) + "    Best run " +
                        (best > 0 ? Clock(best) : "--:--");
            } else if (best > 0) {
                text += "\nBest run " + Clock(best);
            }
        } else if (finishedRun_ > 0) {
            text += "\nYour run " + Clock(finishedRun_);
        }
    }
    if (text == shownStars_) {
        return;
    }
    shownStars_ = text;
    if (text.empty()) {
        ScreenText::Clear(kStarsOwner);
    } else if (level == kFinalLevel) {
        // Under the final screen's buttons.
        ScreenText::Set(kStarsOwner, {{text, Screen::kWidth / 2, 716, true, kStarColour}});
    } else {
        ScreenText::Set(kStarsOwner, {{text, kStarsX, kStarsY, true, kStarColour}});
    }
}

void Hud::UpdateEnding(std::int32_t level) {
    // From the throw on the ending says what a key does: first it hurries the stars, then, once
    // they are all up, it goes on to the tally.
    std::string hint;
    if (level == kEndingLevel) {
        if (const PlayerControlComponent* control = gameplay::LevelPlayer()) {
            const auto* ending = control->GetOwner()->Get<EndOfGame>("EndOfGame");
            if (ending && ending->Hurriable()) {
                hint = "Press any key to hurry the stars";
            } else if (ending && control->winning && ending->AllRisen() && !ending->hurried) {
                hint = "Press any key to go on";
            }
        }
    }
    if (hint == endingHint_) {
        return;
    }
    endingHint_ = hint;
    if (hint.empty()) {
        ScreenText::Clear(kEndingOwner);
    } else {
        ScreenText::Set(kEndingOwner, {{hint, Screen::kWidth / 2, 700, true, kNoticeColour}});
    }
}
