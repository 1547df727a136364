#include "physics/rigid_body2d.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "core/frame_rate_controller.h"
#include "objects/object.h"

VORL_REGISTER_COMPONENT(RigidBody2D) {
    meta.Member("mass", &RigidBody2D::mass)
        .Member("velocity", &RigidBody2D::velocity)
        .Member("state", &RigidBody2D::state)
        .Member("active", &RigidBody2D::active)
        .Member("bounciness", &RigidBody2D::bounciness)
        .Member("friction", &RigidBody2D::friction)
        .Member("gravity", &RigidBody2D::gravity);
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
    const float k = 1.0f / (static_cast<float>(friction) * dt);
    velocity.x -= velocity.x * k;
    velocity.y -= velocity.y * k;
    const Vector2D displacement = velocity * dt - a * 0.5f * dt * dt;
    Transform2D& transform = owner->GetTransform();
    transform.SetPosition(transform.GetPosition() + displacement);
    Component* collider = owner->GetComponent("CircleCollider2D");
    if (!collider) {
        collider = owner->GetComponent("BoxCollider2D");
    }
    if (collider) {
        collider->Update();
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
