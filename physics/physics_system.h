// PhysicsSystem: integrates the dynamic rigid bodies, detects and resolves contacts, and reports
// them as Collision messages (began, continues, ended).
#pragma once

#include "core/system.h"
#include "objects/component_list.h"

class PhysicsSystem : public System {
public:
    void Update() override;
    void HandleMessages() override;

    bool update = true;

private:
    ComponentList<PhysicsComponent> components_;
};
