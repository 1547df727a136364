// Reset: puts its own object back at "resetPosition", at rest, once it has fallen below
// "endOfScreen" (a crate that fell off a ledge comes back for another try).
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class Reset : public ComponentOf<Reset, GameLogicComponent> {
public:
    void Update() override;

    Vector2D resetPosition;
    float endOfScreen = 0.0f;
};
