// OnGUIComponent: pins its object at a fixed offset ("screenX", "screenY") from the main camera,
// in front of the level (z-layer 10.5), at the size ("scaleX", "scaleY"). The layout is done once
// per run of the program, by the first OnGUIComponent updated on an object without an
// OnLGUIComponent; every later one keeps the position its data gives.
#pragma once

#include "objects/component_registration.h"

class OnGUIComponent : public ComponentOf<OnGUIComponent, GameLogicComponent> {
public:
    void Update() override;

    // Back to "not laid out yet", as at program start; for tests that run many engines in one
    // process.
    static void ForgetLayout();

    int screenX = 1024;
    int screenY = 768;
    int scaleX = 30;
    int scaleY = 30;
};
