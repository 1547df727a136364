// LoopingBackgroundComponent: marks a background object. Each update moves the object by the main
// camera's position, and the first background of the run to update sets its depth from "layer".
// Objects pinned behind the camera ("OnLGUIComponent") are left alone.
#pragma once

#include "objects/component_registration.h"

class LoopingBackgroundComponent
    : public ComponentOf<LoopingBackgroundComponent, GameLogicComponent> {
public:
    void Update() override;

    // Only "layer" drives behaviour; the others are kept for the data files.
    float speed = 1000.0f;
    float layer = 5.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    // The depth is set once per run for all backgrounds together; tests start a fresh run here.
    static void ResetDepthFlag();
};
