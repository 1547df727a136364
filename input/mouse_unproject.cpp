#include "input/mouse_unproject.h"

#include <cmath>

Vector3D Unproject(const Vector3D& screen, const ViewportBox& viewport, const Matrix4& projection,
                   const Matrix4& view, const Matrix4& world) {
    const Matrix4 inverse = (world * view * projection).Inverse();
    const Vector3D clip{(screen.x - viewport.x) * 2.0f / viewport.width - 1.0f,
                        1.0f - (screen.y - viewport.y) * 2.0f / viewport.height,
                        (screen.z - viewport.minZ) / (viewport.maxZ - viewport.minZ)};
    const Vector4D h = Transform(clip, inverse);
    if (h.w == 0.0f) {
        return {h.x, h.y, h.z};
    }
    return {h.x / h.w, h.y / h.w, h.z / h.w};
}

bool ScreenToWorld(const std::vector<MouseCamera>& cameras, int x, int y, int& worldX,
                   int& worldY) {
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    for (const MouseCamera& camera : cameras) {
        const ViewportBox& v = camera.viewport;
        if (fx < v.x || fx > v.x + v.width || fy < v.y || fy > v.y + v.height) {
            continue;
        }
        if (v.width <= 0.0f || v.height <= 0.0f || v.maxZ == v.minZ) {
            return false;
        }
        const Matrix4 identity = Matrix4::Identity();
        const Vector3D near =
            Unproject({fx, fy, v.minZ}, v, camera.projection, camera.view, identity);
        const Vector3D far =
            Unproject({fx, fy, v.maxZ}, v, camera.projection, camera.view, identity);
        if (far.z == near.z) {
            return false;
        }
        const float t = (0.0f - near.z) / (far.z - near.z);
        const float hitX = -(near.x + (far.x - near.x) * t);
        const float hitY = near.y + (far.y - near.y) * t;
        // A degenerate camera can put the hit anywhere; only a point an int can hold is taken.
        constexpr float kLimit = 2.0e9f;
        if (!(std::fabs(hitX) < kLimit) || !(std::fabs(hitY) < kLimit)) {
            return false;
        }
        worldX = static_cast<int>(hitX);
        worldY = static_cast<int>(hitY);
        return true;
    }
    return false;
}
