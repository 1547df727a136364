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
    // scale x roll x translation written out: every object is drawn with it each frame, and the
    // full products only add zeros to these terms. Unrotated objects skip the sine and cosine.
    const float cosine = drawnRadians == 0.0f ? 1.0f : std::cos(drawnRadians);
    const float sine = drawnRadians == 0.0f ? 0.0f : std::sin(drawnRadians);
    Matrix4 world = Matrix4::Identity();
    world.m[0][0] = sx * cosine;
    world.m[0][1] = sx * sine;
    world.m[1][0] = sy * -sine;
    world.m[1][1] = sy * cosine;
    world.m[3][0] = std::floor(-drawnPosition.x);
    world.m[3][1] = std::floor(drawnPosition.y);
    world.m[3][2] = std::floor(zlayer);
    return world;
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
