// DebugSystem: keeps its slot in the system order; it has no work of its own.
#pragma once

#include "core/system.h"

class DebugSystem : public System {
public:
    void Update() override {}
    bool update = true;
};
