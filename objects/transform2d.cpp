#include "objects/transform2d.h"

#include <cmath>
#include <ostream>

#include "objects/object.h"

namespace {

Transform2D::PositionFollower positionFollower = nullptr;

}  // namespace

// Every object embeds one and the level line writes it apart, so it is edited but not saved as a
// component line.
VORL_REGISTER_COMPONENT_AS(Transform2D, ComponentUse::Edited) {
    VORL_MEMBERS(meta, position, zlayer, rotation, scale);
}

void Transform2D::SetPosition(const Vector2D& p) {
    position = p;
    if (owner && positionFollower) {
        positionFollower(*owner, p);
    }
}

void Transform2D::SetPositionFollower(PositionFollower follower) {
    positionFollower = follower;
}

float Transform2D::GetRotationRadians() const {
    return static_cast<float>(rotation) * kPi / 180.0f;
}

int RoundDegrees(float radians) {
    const float degrees = radians * 180.0f / kPi;
    const float truncated = std::trunc(degrees);
    return static_cast<int>(degrees - truncated >= 0.5f ? truncated + 1.0f : truncated);
}

void Transform2D::SetRotationRadians(float radians) {
    rotation = RoundDegrees(radians);
}

void Transform2D::Translate(float dx, float dy, float dz) {
    SetPosition(position + Vector2D{dx, dy});
    zlayer += dz;
}

Matrix4 Transform2D::BuildWorldMatrixAt(const Vector2D& drawnPosition, float drawnRadians) const {
    float sx = std::floor(scale.x);
    float sy = std::floor(scale.y);
    if (owner && owner->GetHorizontalFlip()) {
        sx = -sx;
    }
    if (owner && owner->GetVerticalFlip()) {
        sy = -sy;
    }
    const Matrix4 s = Matrix4::Scaling(sx, sy, 1.0f);
    const Matrix4 r = Matrix4::RotationYawPitchRoll(0.0f, 0.0f, drawnRadians);
    const Matrix4 t = Matrix4::Translation(std::floor(-drawnPosition.x),
                                           std::floor(drawnPosition.y), std::floor(zlayer));
    return (s * r) * t;
}

void Transform2D::Print(std::ostream& out) const {
    out << "Position: ";
    PrintVector(out, position);
    out << '\n';
    out << "Rotation: " << rotation << " degrees" << '\n';
    out << "Scale: ";
    PrintVector(out, scale);
    out << '\n';
}
