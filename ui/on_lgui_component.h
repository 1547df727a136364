// OnLGUIComponent: brings its object up to just below the main camera (the camera's height less
// 10), in front of everything the level draws. Done once per run of the program, by the first
// OnLGUIComponent updated; an object that has one is also left alone by OnGUIComponent.
#pragma once

#include "objects/component_registration.h"

class OnLGUIComponent : public ComponentOf<OnLGUIComponent, GameLogicComponent> {
public:
    void Update() override;

    // Back to "not placed yet", as at program start; for tests that run many engines in one
    // process.
    static void ForgetPlacement();
};
