#include "physics/rigid_body2d.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "core/frame_rate_controller.h"
#include "objects/object.h"
#include "physics/colliders.h"

VORL_REGISTER_SAVED_COMPONENT(RigidBody2D) {
    VORL_MEMBERS(meta, mass, velocity, state, active, bounciness, friction, gravity);
}

void RigidBody2D::AddForcePolar(float magnitude, float angle) {
    force += Vector2D{-std::cos(angle) * magnitude, std::sin(angle) * magnitude};
}

void RigidBody2D::ApplyImpulse(const Vector2D& j) {
    if (mass != 0.0f) {
        velocity += j / mass;
    }
}

void RigidBody2D::ApplyImpulsePolar(float magnitude, float angle) {
    ApplyImpulse({-std::cos(angle) * magnitude, std::sin(angle) * magnitude});
}

void RigidBody2D::Update() {
    Integrate(FrameRateController::GetDT());
}

void RigidBody2D::Integrate(double frameTime) {
    Component* refresh = nullptr;
    BoxCollider2D* box = nullptr;
    if (owner) {
        refresh = owner->GetComponent("CircleCollider2D");
        box = owner->Get<BoxCollider2D>("BoxCollider2D");
        if (!refresh) {
            refresh = owner->GetComponent("BoxCollider2D");
        }
    }
    IntegrateWith(frameTime, refresh, box);
}

void RigidBody2D::IntegrateWith(double frameTime, Component* refresh, BoxCollider2D* box) {
    EchoInfoIfSelected();
    if (state != kDynamic || !owner) {
        return;
    }
    const float dt = static_cast<float>(std::min(frameTime, kMaxStep));
    if (dt <= 0.0f) {
        // The first frame has no length; the damping divides by it.
        return;
    }
    const Vector2D a = Vector2D{0.0f, -gravity} + force / mass;
    velocity += a * dt;
    // The damping never adds speed: with a friction below the frame rate k = 1 / (friction x dt)
    // would exceed 1 and flip the velocity every step (growing without bound below half the frame
    // rate), and a negative one would push. Such a body stops dead each step instead, as one of
    // exactly the frame rate does; every friction at or above the frame rate damps as written.
    const float frictionSteps = static_cast<float>(friction) * dt;
    const float k = frictionSteps > 1.0f ? 1.0f / frictionSteps : 1.0f;
    velocity.x -= velocity.x * k;
    velocity.y -= velocity.y * k;
    const Vector2D displacement = velocity * dt - a * 0.5f * dt * dt;
    // Transform2D::SetPosition, with the box looked up by the caller.
    Transform2D& transform = owner->GetTransform();
    transform.position = transform.GetPosition() + displacement;
    if (box) {
        box->SetCentre(transform.position);
    }
    if (refresh) {
        refresh->Update();
    }
    force = Vector2D{};
}

void RigidBody2D::Print(std::ostream& out) const {
    out << "Mass: " << mass << '\n';
    out << "Velocity: ";
    PrintVector(out, velocity);
    out << '\n';
    out << "Dynamic Physics: " << (state == kDynamic ? "TRUE" : "FALSE") << '\n';
}
