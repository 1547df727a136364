#include "graphics/lighting_shader_component.h"

#include "core/screen.h"
#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(LightingShaderComponent) {
    VORL_MEMBERS(meta, r, g, b, scale, AmbientIntensity);
}

platform::QuadDraw LightingShaderComponent::BuildLightQuad() const {
    Vector2D d = owner ? owner->GetTransform().GetPosition() : Vector2D{};
    if (const Camera* camera = MainCamera()) {
        d = d - camera->GetPosition();
    }
    const float screenX = d.x + Screen::kCentreX;
    const float screenY = d.y + Screen::kCentreY;
    platform::QuadDraw quad;
    quad.fill = platform::QuadDraw::Fill::Effect;
    quad.technique = "Light";
    // Stretched over the whole 1600 x 900 view in front of everything the default camera sees.
    quad.world = Matrix4::Scaling(Screen::kCentreX, Screen::kCentreY, 1.0f);
    if (const Camera* camera = MainCamera()) {
        const Vector2D c = camera->GetPosition();
        quad.world = quad.world * Matrix4::Translation(-c.x, c.y, 48.0f);
    }
    quad.floats = {{"g", g},
                   {"b", b},
                   {"r", r},
                   {"AmbientIntensity", AmbientIntensity},
                   {"radius", scale},
                   {"locx", screenX / Screen::kWidth},
                   {"locy", 1.0f - screenY / Screen::kHeight}};
    return quad;
}

void LightingShaderComponent::ApplyLight(platform::GraphicsDevice& target) {
    device = &target;
    if (!owner || !target.HasTechnique("Light")) {
        return;
    }
    target.DrawQuad(BuildLightQuad());
}
