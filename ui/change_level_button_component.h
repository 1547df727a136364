// ChangeLevelButtonComponent: makes its object a menu button. It shows "texture" normally and
// "hovertexture" while hovered, and when pressed (left click on it, or gamepad A, Return or Space
// while it is the menu's selection) acts by its action code "NextLevel": each code sends the
// message that opens a menu screen, closes the menu, changes the level or flips an audio mute
// switch.
//
// The UISystem drives every button: each frame it writes `hovered`, `padSelected` and
// `mouseOver` and then calls Update(). A button takes input only from its second visible frame
// on, so the click that made it appear cannot also press it.
#pragma once

#include <cstdint>
#include <string>

#include "objects/component_registration.h"

class ChangeLevelButtonComponent : public ComponentOf<ChangeLevelButtonComponent, GUIComponent> {
public:
    // Action codes ("NextLevel").
    static constexpr std::int32_t kResume = 0;
    static constexpr std::int32_t kAskQuit = 1;
    static constexpr std::int32_t kShowHowToPlay = 2;
    static constexpr std::int32_t kShowCredits = 3;
    // Carries out what `confirmTarget` names: 0 quit, 1 reload the level, 2 restart the game.
    static constexpr std::int32_t kConfirm = 4;
    static constexpr std::int32_t kBackToPauseMenu = 5;
    static constexpr std::int32_t kBackToPauseMenuToo = 6;
    static constexpr std::int32_t kAskReloadLevel = 7;
    static constexpr std::int32_t kAskRestartGame = 8;
    static constexpr std::int32_t kShowOptions = 9;
    // Mute switch 2: every sound ("Sound" in the options).
    static constexpr std::int32_t kToggleSound = 10;
    // Mute switch 1: the looping music ("Music" in the options).
    static constexpr std::int32_t kToggleMusic = 11;
    static constexpr std::int32_t kRestartGame = 12;
    static constexpr std::int32_t kQuitGame = 13;
    static constexpr std::int32_t kReturnToPauseMenu = 14;
    // A returning player's choice on the controller screen.
    static constexpr std::int32_t kContinue = 15;
    static constexpr std::int32_t kNewGame = 16;
    static constexpr std::int32_t kShowLevelSelect = 17;

    void Update() override;
    void HandleMessages() override;

    // Registered members.
    std::int32_t NextLevel = 0;
    std::string texture;
    std::string hovertexture;

    // Set by the UISystem on the confirmation screen's buttons.
    std::int32_t confirmTarget = 0;
    // Written by the UISystem every frame before Update(). `padSelected`: the menu's selection
    // (moved by the pad or the keyboard) is on this button.
    bool hovered = false;
    bool padSelected = false;
    bool mouseOver = false;

    int visibleFrames = 0;
    bool wasHovered = false;

private:
    void Show(const std::string& name);
    void Act();
};
