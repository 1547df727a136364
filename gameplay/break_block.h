// BreakBlock: a block that the heavy full form and any object named "Movable" break on contact;
// the half form stands on it. While the player is in the full form every unbroken block is hollow,
// so the full form falls through it (breaking it on the way). A broken block vanishes, loses its
// collider for the rest of the level, and bursts for one frame with a sound when it has a
// particle emitter.
#pragma once

#include "objects/component_registration.h"

class BreakBlock : public ComponentOf<BreakBlock, GameLogicComponent> {
public:
    void Update() override;
    void HandleMessages() override;

    bool IsBroken() const { return broken; }

    // Kept for the data files; nothing reads it.
    int BreakSpeed = 0;

private:
    void Break();

    bool broken = false;
};
