// The menu screens as data: which archetype each entry is cloned from and where it sits,
// relative to the main camera. The UISystem builds a screen by cloning its entries in order.
#pragma once

#include <cstdint>

#include "core/vector.h"
#include "ui/change_level_button_component.h"

struct MenuEntry {
    const char* archetype;
    Vector2D offset;
    // Scale of the cloned object: the quad spans twice this.
    Vector2D scale{80.0f, 45.0f};
    // Negative: the object's own (buttons set theirs when updated).
    float zlayer = -1.0f;
    // Negative: the archetype's own action code.
    std::int32_t action = -1;
};

namespace MenuScreens {

// The credits and how-to-play pages: their size, and a depth in front of the level, level with
// the buttons.
inline constexpr Vector2D kPageScale{500.0f, 375.0f};
inline constexpr float kPageZ = 8.0f;

// Each screen's entries stand in the order the gamepad selection walks them, top to bottom.
// Resume first, the pages next, and what loses progress last, apart from Resume: leaving for
// another level loses less than a restart of the game.
inline constexpr MenuEntry kPauseMenu[] = {
    {"Resume", {0.0f, 350.0f}},
    {"Options", {0.0f, 250.0f}},
    {"Howtoplay", {0.0f, 150.0f}},
    {"CreditsButton", {0.0f, 50.0f}},
    {"Levels", {0.0f, -50.0f}},
    {"RestartLevelButton", {0.0f, -150.0f}},
    {"RestartGameButton", {0.0f, -250.0f}},
    {"Quit", {0.0f, -350.0f}},
};
// Below the question, which the UISystem writes above them.
inline constexpr MenuEntry kConfirmation[] = {
    {"Yes", {0.0f, 50.0f}},
    {"No", {0.0f, -150.0f}},
};
inline constexpr MenuEntry kOptions[] = {
    {"Music", {150.0f, 50.0f}},
    {"Sound", {-150.0f, 50.0f}},
    {"BackButton", {0.0f, -50.0f}},
};
inline constexpr MenuEntry kCredits[] = {{"Credits", {0.0f, 0.0f}, kPageScale, kPageZ}};
inline constexpr MenuEntry kHowToPlay[] = {{"HowToPlayScreen", {0.0f, 0.0f}, kPageScale, kPageZ}};
// The two buttons of the last level. Quit comes first, so it is the one selected: the game is
// over and its progress kept, while a restart (which asks first) starts it from the beginning.
inline constexpr MenuEntry kFinalScreen[] = {
    {"Quit", {0.0f, -100.0f}, {80.0f, 45.0f}, -1.0f, ChangeLevelButtonComponent::kQuitGame},
    {"RestartGameButton",
     {0.0f, -200.0f},
     {80.0f, 45.0f},
     -1.0f,
     ChangeLevelButtonComponent::kAskRestartGame},
};
}  // namespace MenuScreens
