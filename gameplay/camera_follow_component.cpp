#include "gameplay/camera_follow_component.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/screen.h"
#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(CameraFollowComponent) {
    VORL_MEMBERS(meta, maxSpeed, startX, startY, maxX, minX, maxY, minY);
}

namespace {

// Half the view.
constexpr float kHalfViewWidth = Screen::kCentreX;
constexpr float kHalfViewHeight = Screen::kCentreY;

// p kept far enough inside [low, high] that a view of half size `half` around it stays inside;
// the middle when the range is narrower than the view.
float ClampAxis(float p, int low, int high, float half) {
    if (std::abs(high - low) < 2.0f * half) {
        return std::floor((static_cast<float>(high) + static_cast<float>(low)) * 0.5f);
    }
    // Not std::clamp: bounds given the wrong way round must not be undefined behaviour.
    return std::max(static_cast<float>(low) + half, std::min(p, static_cast<float>(high) - half));
}

}  // namespace

Vector2D CameraTarget(const CameraFollowComponent& follow, const Vector2D& player) {
    return {ClampAxis(player.x, follow.minX, follow.maxX, kHalfViewWidth),
            ClampAxis(player.y, follow.minY, follow.maxY, kHalfViewHeight)};
}

namespace {

// `value` moved just enough to lie within `half` of `centre`.
float PushedFocus(float centre, float value, float half) {
    return std::clamp(centre, value - half, value + half);
}

// One step of the camera on one axis: a share of the way, at least a whole unit, never past.
float Ease(float from, float to, float share) {
    const float gap = to - from;
    if (std::abs(gap) < 1.0f) {
        return to;
    }
    const float step = gap * share;
    return from + (std::abs(step) < 1.0f ? std::copysign(1.0f, gap) : step);
}

}  // namespace

void CameraFollowComponent::Update() {
    HandleMessages();
    Camera* camera = MainCamera();
    if (!camera || !owner) {
        return;
    }
    camera->SetZoom(1.0f);
    const Vector2D player = owner->GetTransform().GetPosition();
    if (!started) {
        started = true;
        camera->SetPosition({static_cast<float>(startX), static_cast<float>(startY)});
        focus = player;
    }
    focus = {PushedFocus(focus.x, player.x, kDeadZone.x),
             PushedFocus(focus.y, player.y, kDeadZone.y)};
    const Vector2D c = camera->GetPosition();
    const Vector2D target = CameraTarget(*this, focus);
    Vector2D t{Ease(c.x, target.x, kEasing), Ease(c.y, target.y, kEasing)};
    const Vector2D step = t - c;
    const float distance = step.Length();
    if (distance > maxSpeed) {
        t = c + step / distance * maxSpeed;
    }
    camera->SetPosition({std::round(t.x), std::round(t.y)});
}
