// From a back-buffer pixel to a world position through a camera: the ray under the pixel, from the
// viewport's near depth to its far depth, cut with the world plane z = 0. The input system does
// this for every mouse event through the cameras the renderer offers
// (InputSystem::SetCameraSource).
#pragma once

#include <vector>

#include "core/matrix.h"
#include "core/vector.h"

struct ViewportBox {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float minZ = 0.0f;
    float maxZ = 1.0f;
};

// What the mouse needs of a camera.
struct MouseCamera {
    ViewportBox viewport;
    Matrix4 projection;
    Matrix4 view;
};

// A screen point (pixels, depth in minZ..maxZ) back to the space before `world` * `view` *
// `projection` (the D3DXVec3Unproject formula).
Vector3D Unproject(const Vector3D& screen, const ViewportBox& viewport, const Matrix4& projection,
                   const Matrix4& view, const Matrix4& world);

// The world position under back-buffer pixel (x, y) through the first camera whose viewport holds
// the pixel, edges included. The game stores the x negated (its cameras look at the world from
// behind); both values are truncated toward zero. False when no camera holds the pixel or the
// ray runs parallel to the plane.
bool ScreenToWorld(const std::vector<MouseCamera>& cameras, int x, int y, int& worldX, int& worldY);
