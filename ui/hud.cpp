#include "ui/hud.h"

#include "core/screen.h"
#include "gameplay/ending.h"
#include "gameplay/player_control_component.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "graphics/screen_text.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace {

constexpr std::int32_t kFirstPlayableLevel = 2;
constexpr std::int32_t kEndingLevel = 19;
constexpr std::int32_t kFinalLevel = 20;
constexpr platform::Argb kStarColour = 0xFFFFFFFFu;
constexpr platform::Argb kNoticeColour = 0xFFFFFFFFu;
// Top right, clear of the levels' signs and of the menus in the middle.
constexpr int kStarsX = Screen::kWidth - 150;
constexpr int kStarsY = 14;

const Object* FindPlayer() {
    for (const Object* object : LevelObjects()) {
        if (object->GetName() == "Player1") {
            return object;
        }
    }
    return nullptr;
}

}  // namespace

Hud::Hud() = default;

Hud::~Hud() {
    ScreenText::Clear(kStarsOwner);
    ScreenText::Clear(kNoticeOwner);
    ScreenText::Clear(kEndingOwner);
}

void Hud::LevelStarted(std::int32_t level) {
    if (level == kEndingLevel) {
        starsAtEnding_ = StarCountAtLevelStart;
    }
    level_ = level;
    objectsCounted_ = 0;
    starsPlaced_ = 0;
    shownStars_.clear();
    endingHint_.clear();
    ScreenText::Clear(kStarsOwner);
    ScreenText::Clear(kEndingOwner);
}

void Hud::Notice(std::string text) {
    ScreenText::Set(kNoticeOwner, {{std::move(text), Screen::kWidth / 2, 96, true, kNoticeColour}});
    noticeLeft_ = kNoticeShown;
}

void Hud::Update(double dt) {
    if (noticeLeft_ > 0.0) {
        noticeLeft_ -= dt;
        if (noticeLeft_ <= 0.0) {
            ScreenText::Clear(kNoticeOwner);
        }
    }
    UpdateStars(level_);
    UpdateEnding(level_);
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
        if (const Object* player = FindPlayer()) {
            const auto* control = player->Get<PlayerControlComponent>("PlayerControlComponent");
            const auto* ending = player->Get<EndOfGame>("EndOfGame");
            if (ending && ending->Hurriable()) {
                hint = "Press any key to hurry the stars";
            } else if (control && ending && control->winning && ending->AllRisen() &&
                       !ending->hurried) {
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
