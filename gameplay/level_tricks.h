// Small pieces that script single levels.
//
// ObjectMoveComponent: gives its object's body the velocity "direction" once per game: only the
// first ObjectMoveComponent to update in a play of the game acts (later ones, in the same or a
// later level, and the same one after a reload, do nothing); a new game re-arms it.
// InvisibleComponent: removes its object's texture on the first update, so the object collides
// but is never drawn.
// PresentationLockingDoor: hides its object on the first update; once a contact of "Player1" with
// it ends, the door shows and is solid.
// EndSkip: Page Down puts its object at rest at (709, 500), the ending's launch point; a debug aid.
// FaceComponent: marks the player's face object; no behaviour.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class ObjectMoveComponent : public ComponentOf<ObjectMoveComponent, GameLogicComponent> {
public:
    void Update() override;

    Vector2D direction;
};

class InvisibleComponent : public ComponentOf<InvisibleComponent, GameLogicComponent> {
public:
    void Update() override;

    int setVisible = 0;
};

class PresentationLockingDoor : public ComponentOf<PresentationLockingDoor, GameLogicComponent> {
public:
    void Update() override;
    void HandleMessages() override;

    int dontUse = 0;
};

class EndSkip : public ComponentOf<EndSkip, GameLogicComponent> {
public:
    static constexpr Vector2D kLaunchPoint{709.0f, 500.0f};

    void Update() override;

    // Kept for the data files; nothing reads it.
    int sillyData = 0;
};

class FaceComponent : public ComponentOf<FaceComponent, GameLogicComponent> {};
