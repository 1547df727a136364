// UISystem: the pause menu and its pages, and the on-screen buttons.
#pragma once

#include "core/system.h"

class UISystem : public System {
public:
    void Update() override { HandleMessages(); }
};
