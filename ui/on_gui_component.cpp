#include "ui/on_gui_component.h"

#include "graphics/camera.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(OnGUIComponent) {
    VORL_MEMBERS(meta, screenX, screenY, scaleX, scaleY);
}

namespace {
// Shared by every OnGUIComponent: set by the first layout and never cleared during a run.
bool laidOut = false;
}  // namespace

void OnGUIComponent::ForgetLayout() {
    laidOut = false;
}

void OnGUIComponent::Update() {
    if (!owner || owner->HasComponent("OnLGUIComponent") || laidOut) {
        return;
    }
    const Camera* camera = MainCamera();
    if (!camera) {
        return;
    }
    laidOut = true;
    Transform2D& transform = owner->GetTransform();
    transform.SetPosition(camera->GetPosition() +
                          Vector2D{static_cast<float>(screenX), static_cast<float>(screenY)});
    transform.SetZLayer(10.5f);
    transform.SetScale({static_cast<float>(scaleX), static_cast<float>(scaleY)});
}
