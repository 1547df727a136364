// The two screens before the first level. SplashScreenComponent shows the team's splash for
// 3.5 s, then asks for the next level. PlayerControllerComponentVerticalShooter is the
// controller-preference screen: after 3 s, or at once on A or Start of the first gamepad, either
// mouse button, Space, Enter or Escape, it asks for the first playable level (2). Every play of the
// game passes through it, so it also begins a new game (no stars, once-per-game pieces re-armed).
// Both ask every frame until the level changes.
#pragma once

#include "objects/component_registration.h"

class SplashScreenComponent : public ComponentOf<SplashScreenComponent, GameLogicComponent> {
public:
    static constexpr float kShowSeconds = 3.5f;

    void Update() override;

    float timer = 0.0f;
};

class PlayerControllerComponentVerticalShooter
    : public ComponentOf<PlayerControllerComponentVerticalShooter, GameLogicComponent> {
public:
    static constexpr float kShowSeconds = 3.0f;
    static constexpr int kFirstPlayableLevel = 2;

    void Update() override;

    float timer = 0.0f;

private:
    bool gameBegun = false;
    bool continueOffered_ = false;
};
