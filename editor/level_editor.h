// LevelEditor: the in-game level and archetype editor. Runs second in the frame, right after the
// window, so that its panels see input before the game does.
#pragma once

#include "core/system.h"

class Object;

class LevelEditor : public System {
public:
    void Update() override { HandleMessages(); }
    void Shutdown() override;

    Object* selectedObject = nullptr;
    bool update = false;
};
