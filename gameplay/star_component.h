// StarComponent: a collectable star. The player's first touch counts it (StarCount + 1), hides
// it and removes its collider, so it can never be counted twice.
#pragma once

#include "objects/component_registration.h"

class StarComponent : public ComponentOf<StarComponent, GameLogicComponent> {
public:
    void HandleMessages() override;
    // Which star of the level this is, counting in the order the level's objects were loaded
    // (the order its file lists them).
    int IndexInLevel() const;

    // Kept for the data files; nothing reads it.
    int Donut = 0;
};
