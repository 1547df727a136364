#include "ui/menu_screens.h"

#include "ui/change_level_button_component.h"

namespace MenuScreens {
namespace {

constexpr Vector2D kPageScale{500.0f, 375.0f};
// In front of the level, level with the buttons.
constexpr float kPageZ = 8.0f;

// Resume first, the pages next, and what loses progress last, apart from Resume.
constexpr MenuEntry kPauseMenu[] = {
    {"Resume", {0.0f, 300.0f}},
    {"Options", {0.0f, 200.0f}},
    {"Howtoplay", {0.0f, 100.0f}},
    {"CreditsButton", {0.0f, 0.0f}},
    {"RestartLevelButton", {0.0f, -100.0f}},
    {"RestartGameButton", {0.0f, -200.0f}},
    {"Quit", {0.0f, -300.0f}},
};
// Below the question, which the UISystem writes above them.
constexpr MenuEntry kConfirmation[] = {
    {"Yes", {0.0f, 50.0f}},
    {"No", {0.0f, -150.0f}},
};
constexpr MenuEntry kOptions[] = {
    {"Music", {150.0f, 50.0f}},
    {"Sound", {-150.0f, 50.0f}},
    {"BackButton", {0.0f, -50.0f}},
};
constexpr MenuEntry kCredits[] = {{"Credits", {0.0f, 0.0f}, kPageScale, kPageZ}};
constexpr MenuEntry kHowToPlay[] = {{"HowToPlayScreen", {0.0f, 0.0f}, kPageScale, kPageZ}};
constexpr MenuEntry kFinalScreen[] = {
    {"RestartGameButton",
     {0.0f, -200.0f},
     {80.0f, 45.0f},
     -1.0f,
     ChangeLevelButtonComponent::kRestartGame},
    {"Quit", {0.0f, -100.0f}, {80.0f, 45.0f}, -1.0f, ChangeLevelButtonComponent::kQuitGame},
};
// Side by side under the controller notice's card.
constexpr MenuEntry kContinueOffer[] = {
    {"ContinueButton", {-110.0f, -340.0f}},
    {"NewGameButton", {110.0f, -340.0f}},
};

}  // namespace

std::span<const MenuEntry> PauseMenu() {
    return kPauseMenu;
}
std::span<const MenuEntry> Confirmation() {
    return kConfirmation;
}
std::span<const MenuEntry> Options() {
    return kOptions;
}
std::span<const MenuEntry> CreditsPage() {
    return kCredits;
}
std::span<const MenuEntry> HowToPlayPage() {
    return kHowToPlay;
}
std::span<const MenuEntry> FinalScreen() {
    return kFinalScreen;
}
std::span<const MenuEntry> ContinueOffer() {
    return kContinueOffer;
}

}  // namespace MenuScreens
