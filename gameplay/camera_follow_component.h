// CameraFollowComponent: on the player, moves the main camera toward the player by at most
// "maxSpeed" world units a frame (not scaled by the frame time), never showing anything beyond
// the level bounds "minX".."maxX", "minY".."maxY"; a level narrower or lower than the 1600 x 900
// view keeps the camera at the middle of its bounds on that axis. Camera positions are whole
// units. The camera starts at ("startX", "startY") on the first update.
#pragma once

#include "core/vector.h"
#include "meta/meta_registration.h"

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

    bool started = false;
};

// Where the camera heads for a player at `player`: clamped so the view stays inside the bounds.
Vector2D CameraTarget(const CameraFollowComponent& follow, const Vector2D& player);
