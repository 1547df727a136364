// Transform2D: the position, depth layer, whole-degree rotation and scale embedded in every object.
// The renderer turns it into a world matrix, colliders read their centre and extent from it, and
// the physics step moves objects by rewriting its position.
//
// Rotation is stored in whole degrees and converted with the game's own pi (core/angle.h).
#pragma once

#include "core/angle.h"
#include "core/matrix.h"
#include "core/vector.h"
#include "objects/component_registration.h"

class Transform2D : public ComponentOf<Transform2D> {
public:
    Vector2D GetPosition() const { return position; }
    // Also tells the position follower, through which physics moves the owner's "BoxCollider2D"
    // centre (physics/collider_sync.h); circle and point colliders follow in their own update.
    // The box must follow at once because contacts later in the same step read its centre.
    void SetPosition(const Vector2D& p);
    // Installed once by the layer that keeps things centred on an owned transform's position.
    using PositionFollower = void (*)(Object& owner, const Vector2D& position);
    static void SetPositionFollower(PositionFollower follower);
    Vector2D GetScale() const { return scale; }
    void SetScale(const Vector2D& s) { scale = s; }
    float GetZLayer() const { return zlayer; }
    void SetZLayer(float z) { zlayer = z; }
    int GetRotationDegrees() const { return rotation; }
    void SetRotationDegrees(int degrees) { rotation = degrees; }
    float GetRotationRadians() const;
    // Stores whole degrees: truncated toward zero, plus one when the dropped part is at least 0.5
    // (89.5 gives 90; -89.7 gives -89).
    void SetRotationRadians(float radians);
    void Translate(float dx, float dy, float dz);

    // scale x rotation x translation with floored scale and position, x mirrored (the camera is
    // built for the mirrored x), scale negated per the owner's flip flags.
    Matrix4 BuildWorldMatrix() const { return BuildWorldMatrixAt(position, GetRotationRadians()); }
    // The same for the object drawn at another position and angle (between two steps).
    Matrix4 BuildWorldMatrixAt(const Vector2D& drawnPosition, float drawnRadians) const;

    void Update() override { EchoInfoIfSelected(); }
    void Print(std::ostream& out) const override;

    Vector2D position;
    float zlayer = 0.0f;
    int rotation = 0;
    Vector2D scale;
};

// Converts whole degrees the way SetRotationRadians stores them.
int RoundDegrees(float radians);
