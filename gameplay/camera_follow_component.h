// CameraFollowComponent: on the player, eases the main camera after the player, never showing
// anything beyond the level bounds "minX".."maxX", "minY".."maxY"; a level narrower or lower than
// the 1600 x 900 view keeps the camera at the middle of its bounds on that axis. The camera
// follows a focus point that the player pushes only from the edge of a small dead zone around it,
// so bobbing in a fan's wind or in a cannon does not shake the screen; it closes a fixed share of
// the distance to its target each step, at most "maxSpeed" world units (steps are of fixed
// length, so this is the same at every frame rate). Camera positions are whole units. The camera
// starts at ("startX", "startY") on the first update.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class CameraFollowComponent : public ComponentOf<CameraFollowComponent, GameLogicComponent> {
public:
    void Update() override;

    float maxSpeed = 20.0f;
    int startX = 0;
    int startY = 0;
    int maxX = 512;
    int minX = -512;
    int maxY = 384;
    int minY = -384;

    // Half the dead zone's width and height, in world units.
    static constexpr Vector2D kDeadZone{96.0f, 110.0f};
    // Share of the remaining distance the camera closes each step.
    static constexpr float kEasing = 0.12f;

    bool started = false;
    // The point the camera is centred on before the level bounds apply.
    Vector2D focus;
};

// Where the camera heads for a player at `player`: clamped so the view stays inside the bounds.
Vector2D CameraTarget(const CameraFollowComponent& follow, const Vector2D& player);
