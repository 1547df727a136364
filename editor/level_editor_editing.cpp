// Editing the level with the mouse and keys: dragging (the group along), scaling, turning,
// layering and deleting the selection, painting instances of the selected archetype onto a grid
// and erasing them.
#include <algorithm>

#include "editor/level_editor.h"
#include "editor/level_editor_common.h"
#include "editor/picking.h"
#include "editor/placement.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"

using EditorCommon::CtrlHeld;

namespace {

constexpr float kOneDegree = 0.01745328f;
constexpr float kQuarterTurn = 1.570795f;
constexpr float kLayerStep = 0.1f;
constexpr float kLowestLayer = 1.0f;
// The highest layer is this far below the main camera, so the camera never sits inside an object.
constexpr float kLayerBelowCamera = 11.0f;

bool PressedOrRepeating(int key) {
    return InputSystem::KeyTriggered(key) || InputSystem::KeyRepeat(key);
}

// that holds m. The cells of dragging start from the whole part of s, those of painting from s
// itself; a scale below 1 snaps to whole units (a cell of 1).
float SnapToCell(int m, float s, bool wholeScale) {
    float c = 0.0f;
    if (wholeScale) {
        const int whole = static_cast<int>(s);
        if (whole < 1) {
            return static_cast<float>(m);
        }
        c = 2.0f * s * static_cast<float>(m / (2 * whole));
    } else {
        if (s < 1.0f) {
            return static_cast<float>(m);
        }
        c = 2.0f * s * static_cast<float>(static_cast<int>(static_cast<float>(m) / (2.0f * s)));
    }
    const auto mouse = static_cast<float>(m);
    if (mouse - s > c) {
        c += 2.0f * s;
    }
    if (c > s + mouse) {
        c -= 2.0f * s;
    }
    return c;
}
}  // namespace

void LevelEditor::EditSelected() {
    using namespace InputSystem;
    if (!selectedObject || CtrlHeld() || !mayTransform) {
        return;
    }
    Object& object = *selectedObject;
    Transform2D& t = object.GetTransform();
    if (MouseLeftDown() && !MouseLeftTriggered() && EditorCommon::MouseOverLevel()) {
        const Vector2D before = t.GetPosition();
        const Vector2D s = t.GetScale();
        if (KeyDown('G')) {
            t.SetPosition({SnapToCell(GetMouseX(), s.x, true), SnapToCell(GetMouseY(), s.y, true)});
        } else {
            t.SetPosition(EditorCommon::Mouse());
        }
        DragGroupAlong(object, before);
        levelTouched_ = true;
    }
    if (MouseLeftTriggered() && !IsMouseOver(object)) {
        Deselect();
        return;
    }
    Vector2D scale = t.GetScale();
    if (PressedOrRepeating(VirtualKey::Plus)) {
        scale = scale + Vector2D{1.0f, 1.0f};
    }
    if (PressedOrRepeating(VirtualKey::Minus)) {
        scale = scale - Vector2D{1.0f, 1.0f};
    }
    scale.y += (KeyDown('W') ? 1.0f : 0.0f) - (KeyDown('S') ? 1.0f : 0.0f);
    scale.x += (KeyDown('D') ? 1.0f : 0.0f) - (KeyDown('A') ? 1.0f : 0.0f);
    if (scale != t.GetScale()) {
        t.SetScale(scale);
        levelTouched_ = true;
    }
    const float turn = KeyDown('G') ? kQuarterTurn : kOneDegree;
    if (PressedOrRepeating('Q')) {
        t.SetRotationRadians(t.GetRotationRadians() + turn);
        levelTouched_ = true;
    }
    if (PressedOrRepeating('E')) {
        t.SetRotationRadians(t.GetRotationRadians() - turn);
        levelTouched_ = true;
    }
    if (KeyTriggered('R')) {
        t.SetRotationDegrees(0);
        levelTouched_ = true;
    }
    if (PressedOrRepeating('I')) {
        const Camera* camera = MainCamera();
        const float highest = camera ? camera->transform.GetZLayer() - kLayerBelowCamera : 0.0f;
        t.SetZLayer(std::min(t.GetZLayer() + kLayerStep, highest));
        levelTouched_ = true;
    }
    if (PressedOrRepeating('K')) {
        t.SetZLayer(std::max(t.GetZLayer() - kLayerStep, kLowestLayer));
        levelTouched_ = true;
    }
}

void LevelEditor::DeleteSelection() {
    if (!InputSystem::KeyTriggered(VirtualKey::Delete) || CtrlHeld() ||
        (selectedObject && !mayTransform)) {
        return;
    }
    std::vector<Object*> doomed = group_;
    if (selectedObject && !selectedObject->IsArchetype() &&
        std::find(doomed.begin(), doomed.end(), selectedObject) == doomed.end()) {
        doomed.push_back(selectedObject);
    }
    if (doomed.empty()) {
        return;  // an archetype is never deleted from the level
    }
    Deselect();
    ForgetGroup();
    for (Object* object : doomed) {
        object->Destroy();
    }
    levelTouched_ = true;
}

void LevelEditor::Erase() {
    if (!selectedObject || !CtrlHeld() || !InputSystem::MouseRightDown()) {
        return;
    }
    const std::string name = selectedObject->GetName();
    if (Object* archetype = ArchetypeTable().Get(name)) {
        Select(archetype);
    }
    for (Object* object : LevelObjects()) {
        if (object->GetName() == name && InputSystem::IsMouseOver(*object)) {
            if (object == selectedObject) {
                Deselect();
            }
            object->Destroy();
            levelTouched_ = true;
            break;
        }
    }
}

void LevelEditor::Paint() {
    using namespace InputSystem;
    if (!selectedObject || !CtrlHeld() || !MouseLeftDown() || !EditorCommon::MouseOverLevel()) {
        return;
    }
    const Vector2D s = Placement::SizeOf(*selectedObject);
    const Vector2D cell{SnapToCell(GetMouseX(), s.x, false), SnapToCell(GetMouseY(), s.y, false)};
    if (Picking::OnTopAt(LevelObjects(), cell)) {
        return;  // the cell is taken
    }
    Placement::PlaceInstance(*selectedObject, cell, s,
                             selectedObject->GetTransform().GetRotationDegrees());
    levelTouched_ = true;
}
