// PuzzleBehavior and PuzzleComponent: a data-driven way of giving a moving object (normally the
// player) cannon, fan and goal reactions. A PuzzleComponent marks another object as a cannon (0),
// a fan (1) or a goal (2) by its "PuzzleID"; the PuzzleBehavior on the moving object reacts to
// each contact with a marked object: cannons and fans push it along the marked object's direction
// with "CannonStrength" / "FanStrength" (whatever the player's form), a goal wins the level.
//
// Each reaction runs only while its "React_*" switch is non-zero, so one object can ignore fans
// and still use goals; all three are on by default.
#pragma once

#include "core/messages.h"
#include "core/vector.h"
#include "objects/component_registration.h"

class Object;
class RigidBody2D;

class PuzzleBehavior : public ComponentOf<PuzzleBehavior, GameLogicComponent> {
public:
    void Update() override;

    int React_Fan = 1;
    int React_Cannon = 1;
    int React_Goal = 1;
    float FanStrength = 0.0f;
    float CannonStrength = 0.0f;

private:
    void React(CollisionKind kind, const Object& other, RigidBody2D& body);
};

class PuzzleComponent : public ComponentOf<PuzzleComponent, GameLogicComponent> {
public:
    static constexpr int kCannon = 0;
    static constexpr int kFan = 1;
    static constexpr int kGoal = 2;

    // A marker: no behaviour of its own.
    void Update() override {}

    int PuzzleID = kCannon;
    // Kept for the data files; nothing reads it.
    Vector2D Strength;
};
