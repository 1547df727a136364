#include "ui/on_lgui_component.h"

#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_COMPONENT(OnLGUIComponent) {}

namespace {
// Shared by every OnLGUIComponent: set by the first placement and never cleared during a run.
bool placed = false;
}  // namespace

void OnLGUIComponent::ForgetPlacement() {
    placed = false;
}

void OnLGUIComponent::Update() {
    if (!owner || placed) {
        return;
    }
    const Camera* camera = MainCamera();
    if (!camera) {
        return;
    }
    placed = true;
    owner->GetTransform().SetZLayer(camera->transform.GetZLayer() - 10.0f);
}
