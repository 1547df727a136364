// GameLogicSystem: drives every game-logic component once per frame while the game runs (not
// paused, not in an editor, the window visible). In the level editor only particle emitters keep
// animating. Components of archetypes are never driven.
#pragma once

#include "core/system.h"
#include "objects/component_list.h"

class GameLogicSystem : public System {
public:
    GameLogicSystem();
    void Update() override;

    const ComponentList<GameLogicComponent>& Components() const { return components_; }

    bool update = false;

private:
    ComponentList<GameLogicComponent> components_;
};
