#include "graphics/lighting_shader_component.h"

#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_COMPONENT(LightingShaderComponent) {
    meta.Member("r", &LightingShaderComponent::r)
        .Member("g", &LightingShaderComponent::g)
        .Member("b", &LightingShaderComponent::b)
        .Member("scale", &LightingShaderComponent::scale)
        .Member("AmbientIntensity", &LightingShaderComponent::AmbientIntensity);
}

platform::QuadDraw LightingShaderComponent::BuildLightQuad() const {
    Vector2D d = owner ? owner->GetTransform().GetPosition() : Vector2D{};
    if (const Camera* camera = MainCamera()) {
        d = d - camera->GetPosition();
    }
    const float screenX = d.x + 800.0f;
    const float screenY = d.y + 450.0f;
    platform::QuadDraw quad;
    quad.fill = platform::QuadDraw::Fill::Effect;
    quad.technique = "Light";
    // Stretched over the whole 1600 x 900 view in front of everything the default camera sees.
    quad.world = Matrix4::Scaling(800.0f, 450.0f, 1.0f);
    if (const Camera* camera = MainCamera()) {
        const Vector2D c = camera->GetPosition();
        quad.world = quad.world * Matrix4::Translation(-c.x, c.y, 48.0f);
    }
    quad.floats = {{"g", g},
                   {"b", b},
                   {"r", r},
                   {"AmbientIntensity", AmbientIntensity},
                   {"radius", scale},
                   {"locx", screenX / 1600.0f},
                   {"locy", 1.0f - screenY / 900.0f}};
    return quad;
}

void LightingShaderComponent::ApplyLight(platform::GraphicsDevice& target) {
    device = &target;
    if (!owner || !target.HasTechnique("Light")) {
        return;
    }
    target.DrawQuad(BuildLightQuad());
}
