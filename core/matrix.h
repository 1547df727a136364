// 4 x 4 float matrices by the Direct3D conventions the renderer and the editor were designed with:
// row vectors (a point is transformed as p * M), left-handed coordinates. Each builder follows
// the D3DX formula of the same name.
#pragma once

#include <array>

#include "core/vector.h"

struct Matrix4 {
    // m[row][column]
    std::array<std::array<float, 4>, 4> m{};

    static Matrix4 Identity();
    static Matrix4 Scaling(float sx, float sy, float sz);
    static Matrix4 Translation(float x, float y, float z);
    // Roll about z, then pitch about x, then yaw about y (D3DXMatrixRotationYawPitchRoll).
    static Matrix4 RotationYawPitchRoll(float yaw, float pitch, float roll);
    static Matrix4 LookAtLH(const Vector3D& eye, const Vector3D& at, const Vector3D& up);
    static Matrix4 OrthoLH(float width, float height, float zNear, float zFar);

    Matrix4 operator*(const Matrix4& o) const;
    bool operator==(const Matrix4&) const = default;
    // Inverse by cofactors; a singular matrix yields the identity.
    Matrix4 Inverse() const;
};

// (x, y, z, 1) * M, the full four-component result (D3DXVec3Transform).
Vector4D Transform(const Vector3D& v, const Matrix4& m);
