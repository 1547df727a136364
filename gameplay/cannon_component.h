// CannonComponent: catches the first body that touches it, pulls it to the cannon's centre every
// frame, and after 50 frames of holding fires it along the cannon's direction (straight up when
// unrotated) with an impulse of "speed", so a light body flies farther than a heavy one. While it
// holds the player, the player cannot jump and has no speed cap. The cannon is free again when
// the contact ends.
//
// The pull keeps going while the body sits at the centre: it is what holds the body against
// gravity until the launch.
#pragma once

#include "objects/component_registration.h"

class CannonComponent : public ComponentOf<CannonComponent, GameLogicComponent> {
public:
    static constexpr int kHoldFrames = 50;

    void HandleMessages() override;

    float speed = 5000.0f;

    int countdown = kHoldFrames;
    bool occupied = false;
};
