#include "physics/colliders.h"

#include <cmath>
#include <ostream>
#include <string_view>
#include <typeinfo>

#include "objects/object.h"

VORL_REGISTER_COMPONENT(PointCollider2D) {
    VORL_MEMBERS(meta, point, mHollow);
}

VORL_REGISTER_SAVED_COMPONENT(BoxCollider2D) {
    VORL_MEMBERS(meta, mHalfSize, mHollow);
}

VORL_REGISTER_SAVED_COMPONENT(CircleCollider2D) {
    VORL_MEMBERS(meta, radius, mHollow);
}

namespace {
// The circle outline's own pi: ten points at multiples of pi/5.
constexpr float kOutlinePi = 3.1415927f;
constexpr int kCirclePoints = 10;
}  // namespace

PointCollider2D::PointCollider2D() {
    RefreshCentre();
}

void PointCollider2D::RefreshCentre() {
    if (owner) {
        point = owner->GetTransform().GetPosition();
    }
    refreshed = true;
}

void PointCollider2D::Update() {
    EchoInfoIfSelected();
    RefreshCentre();
}

void PointCollider2D::GetOutline(std::vector<Vector2D>& out) const {
    out.push_back(point);
}

void PointCollider2D::Print(std::ostream& out) const {
    out << "Type: "
        << "Point" << '\n';
    out << "Point: ";
    PrintVector(out, point);
    out << '\n';
}

void BoxCollider2D::Update() {
    PointCollider2D::Update();
    if (owner) {
        mHalfSize = owner->GetTransform().GetScale();
        angle = owner->GetTransform().GetRotationRadians();
    }
}

void BoxCollider2D::GetOutline(std::vector<Vector2D>& out) const {
    const float theta = -angle;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float hx = mHalfSize.x;
    const float hy = mHalfSize.y;
    // Winding order: the polygon test walks consecutive corners as edges.
    const Vector2D offsets[4] = {{hx, hy}, {hx, -hy}, {-hx, -hy}, {-hx, hy}};
    for (const Vector2D& o : offsets) {
        out.push_back(point + Vector2D{o.x * c - o.y * s, o.x * s + o.y * c});
    }
}

void BoxCollider2D::Print(std::ostream& out) const {
    out << "HalfWidths: ";
    PrintVector(out, mHalfSize);
    out << '\n';
}

void CircleCollider2D::Update() {
    PointCollider2D::Update();
}

void CircleCollider2D::GetOutline(std::vector<Vector2D>& out) const {
    for (int i = 0; i < kCirclePoints; ++i) {
        const float t = static_cast<float>(i) * kOutlinePi / 5.0f;
        out.push_back(point + Vector2D{std::cos(t), std::sin(t)} * radius);
    }
}

void CircleCollider2D::Print(std::ostream& out) const {
    out << "Radius: " << radius << '\n';
}

PointCollider2D* AsCollider(Component* component) {
    if (!component) {
        return nullptr;
    }
    // The exact classes first: the physics step asks this for every body several times a step.
    const std::type_info& type = typeid(*component);
    if (type == typeid(BoxCollider2D) || type == typeid(CircleCollider2D) ||
        type == typeid(PointCollider2D)) {
        return static_cast<PointCollider2D*>(component);
    }
    return dynamic_cast<PointCollider2D*>(component);
}

PointCollider2D* FindCollider(const Object& object) {
    for (std::string_view name : {"PointCollider2D", "BoxCollider2D", "CircleCollider2D"}) {
        if (auto* collider = AsCollider(object.GetComponent(name))) {
            return collider;
        }
    }
    return nullptr;
}
