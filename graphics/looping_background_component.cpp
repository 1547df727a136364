#include "graphics/looping_background_component.h"

#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(LoopingBackgroundComponent) {
    VORL_MEMBERS(meta, speed, layer, offsetX, offsetY);
}

namespace {
bool& DepthSet() {
    static bool set = false;
    return set;
}
}  // namespace

void LoopingBackgroundComponent::ResetDepthFlag() {
    DepthSet() = false;
}

void LoopingBackgroundComponent::Update() {
    HandleMessages();
    if (!owner || owner->HasComponent("OnLGUIComponent")) {
        return;
    }
    if (const Camera* camera = MainCamera()) {
        const Vector2D c = camera->GetPosition();
        owner->GetTransform().Translate(c.x, c.y, 0.0f);
    }
    if (!DepthSet()) {
        DepthSet() = true;
        owner->GetTransform().SetZLayer(layer / 10.0f + 1.0f);
    }
}
