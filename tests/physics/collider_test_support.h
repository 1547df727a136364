// Stand-alone objects carrying one collider, for narrow-phase and collider tests. They are not
// level objects; the test owns them.
#pragma once

#include <memory>
#include <string>

#include "objects/object.h"
#include "physics/colliders.h"

namespace physics_test {

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
