// TeleporterComponent: puts every moving body that touches it at "teleportLocation", at rest.
// Static bodies (state 0) and objects without a body stay where they are.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class TeleporterComponent : public ComponentOf<TeleporterComponent, GameLogicComponent> {
public:
    void HandleMessages() override;

    Vector2D teleportLocation;
};
