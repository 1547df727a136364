// The menu screens as data: which archetype each entry is cloned from and where it sits,
// relative to the main camera. The UISystem builds a screen by cloning its entries in order.
#pragma once

#include <cstdint>
#include <span>

#include "core/vector.h"

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

// Top to bottom, in the order the gamepad selection walks them.
std::span<const MenuEntry> PauseMenu();
std::span<const MenuEntry> Confirmation();
std::span<const MenuEntry> Options();
std::span<const MenuEntry> CreditsPage();
std::span<const MenuEntry> HowToPlayPage();
// The two buttons of the last level.
std::span<const MenuEntry> FinalScreen();
// A returning player's choice on the controller screen: where they left off, or a new game.
std::span<const MenuEntry> ContinueOffer();

}  // namespace MenuScreens
