// Helpers for physics scene tests: the running physics system and the contacts of a frame.
#pragma once

#include <string>
#include <vector>

#include "core/messaging.h"
#include "objects/object.h"
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

}  // namespace physics_test
