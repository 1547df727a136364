// FanComponent: blows every body that touches the fan along the fan's direction (straight up when
// unrotated) with a force of "speed" per frame of contact, the frame the contact ends included.
// The player is blown only in its light half form; either form hears the wind and feels it in
// the gamepad, more strongly in the half form.
#pragma once

#include "objects/component_registration.h"

class FanComponent : public ComponentOf<FanComponent, GameLogicComponent> {
public:
    void HandleMessages() override;

    float speed = 10.0f;
};
