// RigidBody2D: mass, velocity, accumulated force, gravity, damping and bounciness of an object.
// The physics step calls Update() once per step for every dynamic body (state 1); it integrates
// with the frame's dt clamped to 0.05 s, damps heavily ("friction" is a divisor: larger means less
// damping), moves the owner and refreshes its collider. The damping removes at most all of the
// velocity in a step: a friction at or below the frame rate stops the body dead every step.
//
// A dynamic body needs a non-zero mass and friction; the reader rejects data that gives it either,
// and names a friction below kLivelyFriction.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class BoxCollider2D;

class RigidBody2D : public ComponentOf<RigidBody2D, PhysicsComponent> {
public:
    static constexpr int kDynamic = 1;
    static constexpr double kMaxStep = 0.05;
    // Below this friction a dynamic body loses all of its speed every frame under the frame cap
    // (a little over 63 frames a second), however it is pushed.
    static constexpr int kLivelyFriction = 63;

    float GetMass() const { return mass; }
    Vector2D GetVelocity() const { return velocity; }
    void SetVelocity(const Vector2D& v) { velocity = v; }
    void ZeroVelocityX() { velocity.x = 0.0f; }
    void ZeroVelocityY() { velocity.y = 0.0f; }
    Vector2D GetForce() const { return force; }
    bool IsDynamic() const { return state == kDynamic; }

    void AddForce(const Vector2D& f) { force += f; }
    // (-cos(angle), sin(angle)) * magnitude; angle in radians.
    void AddForcePolar(float magnitude, float angle);
    // velocity += j / mass; a body of mass 0 ignores impulses.
    void ApplyImpulse(const Vector2D& j);
    void ApplyImpulsePolar(float magnitude, float angle);

    void Update() override;
    std::string DataProblem() const override;
    std::string DataDoubt() const override;
    // The integration step with an explicit frame time (before clamping).
    void Integrate(double frameTime);
    // The same step with the owner's components already looked up: `refresh` is its
    // "CircleCollider2D", else its "BoxCollider2D" (or null), and `box` its "BoxCollider2D", which
    // follows every move of the owner.
    void IntegrateWith(double frameTime, Component* refresh, BoxCollider2D* box);
    void Print(std::ostream& out) const override;

    float mass = 0.0f;
    Vector2D velocity;
    Vector2D force;
    Vector2D secondVector;
    bool active = true;
    int friction = 100;
    float bounciness = 0.0f;
    float gravity = 0.0f;
    int state = 0;
    // Set and cleared only by a cannon while it holds the body.
    bool heldByCannon = false;
};
