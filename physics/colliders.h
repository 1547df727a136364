// Colliders: the shapes the physics step detects and resolves. Three component classes, a point
// and its two refinements, the oriented box and the circle. Each refreshes its centre (and the box
// its half size and angle) from the owner's transform in Update(); the physics step calls that
// after every move it makes. FindCollider() is how physics code picks the one collider of an
// object that takes part in the step.
//
// Colliders announce themselves to the physics system from their constructor; the system keeps
// them by non-owning pointer and drops one once its owner is cleared.
#pragma once

#include <string>
#include <vector>

#include "core/vector.h"
#include "objects/component_registration.h"

class Object;

enum class ColliderShape { Point, Box, Circle };

class PointCollider2D : public ComponentOf<PointCollider2D, PhysicsComponent> {
public:
    PointCollider2D();

    // The outline used by the grid and the separating-axis test, appended to `out`.
    virtual void GetOutline(std::vector<Vector2D>& out) const;
    virtual ColliderShape Shape() const { return ColliderShape::Point; }

    void Update() override;
    void Print(std::ostream& out) const override;

    bool IsHollow() const { return mHollow; }
    void SetHollow(bool hollow) { mHollow = hollow; }
    Vector2D GetCentre() const { return point; }
    void SetCentre(const Vector2D& centre) { point = centre; }
    bool IsRefreshed() const { return refreshed; }

    bool mHollow = false;
    Vector2D point{1.0f, 1.0f};
    bool refreshed = false;

protected:
    // Centre from the owner's position; refreshed is set either way.
    void RefreshCentre();
};

// Oriented box: half size and angle come from the owner's scale and rotation at each update.
class BoxCollider2D : public PointCollider2D {
public:
    void GetOutline(std::vector<Vector2D>& out) const override;
    ColliderShape Shape() const override { return ColliderShape::Box; }
    std::string GetShapeName() const { return "Box"; }
    Vector2D& GetHalfSize() { return mHalfSize; }
    const Vector2D& GetHalfSize() const { return mHalfSize; }
    float GetAngle() const { return angle; }

    void Update() override;
    void Print(std::ostream& out) const override;
    std::string GetName() const override { return MetaTypeOf<BoxCollider2D>().Name(); }
    const MetaType& GetMetaType() const override { return MetaTypeOf<BoxCollider2D>(); }
    Component* CreateDefault() const override { return new BoxCollider2D; }

    Vector2D mHalfSize;
    // Radians, from the owner's whole-degree rotation.
    float angle = 0.0f;
};

// Circle: the radius is data; only the centre follows the owner.
class CircleCollider2D : public PointCollider2D {
public:
    void GetOutline(std::vector<Vector2D>& out) const override;
    ColliderShape Shape() const override { return ColliderShape::Circle; }
    std::string GetShapeName() const { return "Circle"; }

    void Update() override;
    void Print(std::ostream& out) const override;
    std::string GetName() const override { return MetaTypeOf<CircleCollider2D>().Name(); }
    const MetaType& GetMetaType() const override { return MetaTypeOf<CircleCollider2D>(); }
    Component* CreateDefault() const override { return new CircleCollider2D; }

    float radius = 0.5f;
};

// The collider that represents `object` in the physics step: its "PointCollider2D", else its
// "BoxCollider2D", else its "CircleCollider2D", else null.
PointCollider2D* FindCollider(const Object& object);
// `component` as a collider, or null.
PointCollider2D* AsCollider(Component* component);
