#include "editor/editor_components.h"

#include "core/messaging.h"
#include "editor/palette.h"
#include "editor/placement.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "objects/object.h"

VORL_REGISTER_COMPONENT(ArchetypeLevelEditorComponent) {
    VORL_MEMBERS(meta, offset);
}
VORL_REGISTER_COMPONENT(ArchetypeObjectEditorComponent) {
    VORL_MEMBERS(meta, offset);
}
VORL_REGISTER_COMPONENT(ComponentTemplate) {}

namespace {

constexpr int kKeyScrollStep = 7;
constexpr int kWheelScrollStep = 21;
constexpr float kIconMargin = 5.0f;

// Page Up / Page Down (pressed or auto-repeating) and the wheel move the column; `wheel` says
// whether the wheel may scroll it now.
void Scroll(int& offset, bool wheel) {
    using namespace InputSystem;
    if (KeyTriggered(VirtualKey::PageUp) || KeyRepeat(VirtualKey::PageUp)) {
        offset -= kKeyScrollStep;
    }
    if (KeyTriggered(VirtualKey::PageDown) || KeyRepeat(VirtualKey::PageDown)) {
        offset += kKeyScrollStep;
    }
    if (wheel && GetWheelDelta() > 0) {
        offset -= kWheelScrollStep;
    } else if (wheel && GetWheelDelta() < 0) {
        offset += kWheelScrollStep;
    }
}

Camera* CameraAt(std::size_t index) {
    const auto& cameras = CameraList();
    return index < cameras.size() ? cameras[index] : nullptr;
}

}  // namespace

void ArchetypeLevelEditorComponent::Update() {
    if (!owner) {
        return;
    }
    const Camera* palette = CameraAt(1);
    const float cameraY = palette ? palette->GetPosition().y : 0.0f;
    owner->GetTransform().SetPosition(
        {Palette::kLevelEditorX, static_cast<float>(offset) + cameraY});
    const bool ctrl = InputSystem::KeyDown(VirtualKey::Control);
    Scroll(offset, !ctrl);
    if (!InputSystem::IsMouseOver(*owner)) {
        return;
    }
    if (InputSystem::MouseLeftTriggered() && !ctrl) {
        Object* instance = Placement::PlaceInstance(*owner,
                                                    {static_cast<float>(InputSystem::GetMouseX()),
                                                     static_cast<float>(InputSystem::GetMouseY())},
                                                    Placement::SizeOf(*owner));
        MessagingSystem::Send<SelectObjectMessage>(true, false, instance);
    } else if (InputSystem::MouseLeftReleased() && ctrl) {
        MessagingSystem::Send<SelectObjectMessage>(true, false, owner);
    } else if (InputSystem::MouseRightTriggered()) {
        MessagingSystem::Send<SelectObjectMessage>(true, true, owner);
    }
}

void ArchetypeObjectEditorComponent::Update() {
    if (!owner) {
        return;
    }
    if (const Camera* main = CameraAt(0)) {
        const Vector2D c = main->GetPosition();
        owner->GetTransform().SetPosition(
            {c.x + Palette::kArchetypeViewX - owner->GetTransform().GetScale().x - kIconMargin,
             static_cast<float>(offset) + c.y});
    }
    Scroll(offset, true);
    if (InputSystem::IsMouseOver(*owner) && InputSystem::MouseLeftTriggered()) {
        MessagingSystem::Send<SelectObjectMessage>(true, false, owner);
    }
}
