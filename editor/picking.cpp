#include "editor/picking.h"

#include <algorithm>
#include <cmath>

#include "graphics/camera.h"
#include "objects/object.h"

namespace Picking {
namespace {

bool Under(const Object& object, const Vector2D& point) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D s = object.GetTransform().GetScale();
    return point.x >= p.x - s.x && point.x <= p.x + s.x && point.y >= p.y - s.y &&
           point.y <= p.y + s.y;
}

}  // namespace

Object* OnTopAt(const std::vector<Object*>& objects, const Vector2D& point) {
    Object* top = nullptr;
    float topDepth = 0.0f;
    for (Object* object : objects) {
        const float depth = std::floor(object->GetTransform().GetZLayer());
        if (Under(*object, point) && (!top || depth >= topDepth)) {
            top = object;
            topDepth = depth;
        }
    }
    return top;
}

std::vector<Object*> Within(const std::vector<Object*>& objects, const Vector2D& a,
                            const Vector2D& b) {
    const Vector2D low{std::min(a.x, b.x), std::min(a.y, b.y)};
    const Vector2D high{std::max(a.x, b.x), std::max(a.y, b.y)};
    std::vector<Object*> within;
    for (Object* object : objects) {
        const Vector2D p = object->GetTransform().GetPosition();
        const Vector2D s = object->GetTransform().GetScale();
        if (p.x - s.x >= low.x && p.x + s.x <= high.x && p.y - s.y >= low.y &&
            p.y + s.y <= high.y) {
            within.push_back(object);
        }
    }
    return within;
}

std::array<Vector2D, 4> OnScreen(const CameraView& view, const Vector2D& centre,
                                 const Vector2D& half, float radians) {
    const Vector2D eye = view.camera ? view.camera->GetPosition() : Vector2D{};
    const float zoom = view.camera && view.camera->GetZoom() > 0.0f ? view.camera->GetZoom() : 1.0f;
    const Viewport& port = view.viewport;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const Vector2D corners[4] = {
        {-half.x, half.y}, {half.x, half.y}, {half.x, -half.y}, {-half.x, -half.y}};
    std::array<Vector2D, 4> screen{};
    for (int i = 0; i < 4; ++i) {
        const Vector2D world{centre.x + corners[i].x * c - corners[i].y * s,
                             centre.y + corners[i].x * s + corners[i].y * c};
        screen[static_cast<std::size_t>(i)] = {
            static_cast<float>(port.x) + static_cast<float>(port.width) / 2.0f +
                (world.x - eye.x) / zoom,
            static_cast<float>(port.y) + static_cast<float>(port.height) / 2.0f -
                (world.y - eye.y) / zoom};
    }
    return screen;
}

}  // namespace Picking
