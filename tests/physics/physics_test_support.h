// Helpers for physics tests: the running physics system and the contacts of a frame, and
// stand-alone objects carrying one collider for narrow-phase and collider tests (not level
// objects: the test owns them).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "objects/object.h"
#include "physics/colliders.h"
#include "physics/physics_system.h"
#include "physics/rigid_body2d.h"
#include "support/headless_engine.h"

namespace physics_test {

struct Contact {
    int kind;
    std::string a;
    std::string b;
    bool operator==(const Contact&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Contact& c) {
    return out << "{" << c.kind << " " << c.a << " " << c.b << "}";
}

// The Collision messages in the current read queue: those the previous frame's step sent.
inline std::vector<Contact> ContactsInQueue() {
    std::vector<Contact> contacts;
    for (const auto& message : MessagingSystem::GetMessages()) {
        if (const auto* c = As<CollisionMessage>(*message)) {
            contacts.push_back(
                {static_cast<int>(c->kind), c->objectA->GetName(), c->objectB->GetName()});
        }
    }
    return contacts;
}

inline PhysicsSystem& Physics(testing_support::HeadlessEngine& engine) {
    return *engine.core().Get<PhysicsSystem>("PhysicsSystem");
}

inline RigidBody2D& Body(Object* o) {
    return *o->Get<RigidBody2D>("RigidBody2D");
}
inline float Y(Object* o) {
    return o->GetTransform().GetPosition().y;
}
inline float X(Object* o) {
    return o->GetTransform().GetPosition().x;
}

template <class Shape>
struct Held {
    std::unique_ptr<Object> object;
    Shape* collider = nullptr;
    Shape& operator*() const { return *collider; }
    Shape* operator->() const { return collider; }
};

template <class Shape>
Held<Shape> MakeCollider(const std::string& name, Vector2D position, Vector2D scale = {},
                         int degrees = 0) {
    Held<Shape> held{std::make_unique<Object>(), new Shape};
    held.object->AddComponent(name, held.collider);
    held.object->GetTransform().SetScale(scale);
    held.object->GetTransform().SetRotationDegrees(degrees);
    held.object->GetTransform().SetPosition(position);
    held.collider->Update();
    return held;
}

inline Held<BoxCollider2D> Box(Vector2D position, Vector2D half, int degrees = 0) {
    return MakeCollider<BoxCollider2D>("BoxCollider2D", position, half, degrees);
}

inline Held<CircleCollider2D> Circle(Vector2D position, float radius) {
    auto held = MakeCollider<CircleCollider2D>("CircleCollider2D", position);
    held->radius = radius;
    return held;
}

inline Held<PointCollider2D> Point(Vector2D position) {
    return MakeCollider<PointCollider2D>("PointCollider2D", position);
}

}  // namespace physics_test
