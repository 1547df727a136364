// GoalComponent: the end of a level. When the player touches it, the goal bursts (its particle
// emitter), disappears, and the player starts its win spin, after which it moves to the next
// level.
#pragma once

#include "objects/component_registration.h"

class GoalComponent : public ComponentOf<GoalComponent, GameLogicComponent> {
public:
    void HandleMessages() override;

    // Kept for the data files; nothing reads it.
    int unused = 0;
};
