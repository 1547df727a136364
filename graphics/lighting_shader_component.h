// LightingShaderComponent: the parameters of a point light for the effect's "Light" technique.
// The renderer keeps it in its shader list; ApplyLight draws the light as one quad through the
// device with the light's position in screen fractions.
#pragma once

#include "objects/component_registration.h"
#include "platform/graphics_device.h"

class LightingShaderComponent : public ComponentOf<LightingShaderComponent, ShaderComponent> {
public:
    void Update() override {}
    // Draws the light over the whole back buffer with the current view; the device must be inside
    // a frame. Does nothing without an owner or without the "Light" technique.
    virtual void ApplyLight(platform::GraphicsDevice& device);
    // The technique's parameters as ApplyLight sets them.
    platform::QuadDraw BuildLightQuad() const;

    platform::GraphicsDevice* device = nullptr;
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float scale = 0.1f;
    float AmbientIntensity = 1.0f;
};
