// ColoredSquareComponent: makes its object draw as a flat quad in the colour of its four tints
// (through the effect's "Tint" technique). Levels use it directly and every particle carries one.
// The renderer keeps it in its coloured-square list while its owner is a level object.
#pragma once

#include "objects/component_registration.h"

class ColoredSquareComponent : public ComponentOf<ColoredSquareComponent, GraphicsComponent> {
public:
    void Update() override {}

    float redTint = 1.0f;
    float greenTint = 1.0f;
    float blueTint = 1.0f;
    float alphaTint = 1.0f;
};
