// ChangeLevelButtonComponent: makes its object a menu button. It shows "texture" normally and
// "hovertexture" while hovered, and when pressed (left click on it, or gamepad A while it is the
// pad selection) acts by its action code "NextLevel": each code sends the message that opens a
// menu screen, closes the menu, changes the level or flips an audio mute switch.
//
// The UISystem drives every button: each frame it writes `hovered`, `padSelected` and
// `mouseOver` and then calls Update(). A button takes input only from its second visible frame
// on, so the click that made it appear cannot also press it.
#pragma once

#include <cstdint>
#include <string>

#include "meta/meta_registration.h"

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
    static constexpr std::int32_t kToggleMusic = 10;
    static constexpr std::int32_t kToggleSound = 11;
    static constexpr std::int32_t kRestartGame = 12;
    static constexpr std::int32_t kQuitGame = 13;
    static constexpr std::int32_t kReturnToPauseMenu = 14;

    void Update() override;
    void HandleMessages() override;

    // Registered members.
    std::int32_t NextLevel = 0;
    std::string texture;
    std::string hovertexture;

    // Set by the UISystem on the confirmation screen's buttons.
    std::int32_t confirmTarget = 0;
    // Written by the UISystem every frame before Update().
    bool hovered = false;
    bool padSelected = false;
    bool mouseOver = false;

    int visibleFrames = 0;
    bool wasHovered = false;

private:
    void Show(const std::string& name);
    void Act();
};
