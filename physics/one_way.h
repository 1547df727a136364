// OneWay: turns its object's box collider into a platform that is solid from one side only. The
// box starts hollow (and the object invisible); a contact with "Player1" from the open side's
// opposite makes it solid, and the end of any contact makes it hollow again. It reads the
// Collision messages one frame after the physics step sent them.
//
// The first non-zero of "top", "bottom", "left", "right" names the solid side: with "top" the
// player is held once its centre is above the platform's centre.
#pragma once

#include "objects/component_registration.h"

class OneWay : public ComponentOf<OneWay, GameLogicComponent> {
public:
    void Update() override;
    void HandleMessages() override;

    int dontUse = 0;
    int top = 1;
    int bottom = 0;
    int left = 0;
    int right = 0;

private:
    void SetHollow(bool hollow);
};
