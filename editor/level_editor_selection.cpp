// What the designer has selected: a click picks the object drawn on top, a drag on empty space
// draws a marquee whose objects become the group, and the selection shows as outlines over the
// level while the palette names the archetype under the mouse.
#include <algorithm>

#include "editor/level_editor.h"
#include "editor/level_editor_common.h"
#include "editor/picking.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/panel_layer.h"

namespace {

platform::Outline ToOutline(const std::array<Vector2D, 4>& corners) {
    platform::Outline outline;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        outline.x[i] = corners[i].x;
        outline.y[i] = corners[i].y;
    }
    return outline;
}

const CameraView* ViewAt(std::size_t index) {
    const auto& views = ViewList();
    return index < views.size() ? views[index] : nullptr;
}

}  // namespace

void LevelEditor::Select(Object* object) {
    if (selectedObject != object) {
        barOutOfDate = true;
    }
    selectedObject = object;
}

void LevelEditor::Deselect() {
    if (selectedObject) {
        barOutOfDate = true;
    }
    selectedObject = nullptr;
}

void LevelEditor::ForgetGroup() {
    group_.clear();
    marqueeFrom_.reset();
}

void LevelEditor::Pick() {
    using namespace InputSystem;
    const bool left = MouseLeftTriggered();
    if (!left && !(MouseRightTriggered() && !EditorCommon::CtrlHeld())) {
        return;
    }
    Object* top = Picking::OnTopAt(LevelObjects(), EditorCommon::Mouse());
    if (!top) {
        return;
    }
    mayTransform = true;
    if (wantsPanel == left) {
        wantsPanel = !left;
        barOutOfDate = true;
    }
    Select(top);
    // A press on a member of the group takes the whole group along.
    if (std::find(group_.begin(), group_.end(), top) == group_.end()) {
        ForgetGroup();
    }
}

void LevelEditor::Marquee() {
    using namespace InputSystem;
    if (MouseLeftTriggered() && !EditorCommon::CtrlHeld() && EditorCommon::MouseOverLevel() &&
        !Picking::OnTopAt(LevelObjects(), EditorCommon::Mouse())) {
        ForgetGroup();
        marqueeFrom_ = EditorCommon::Mouse();
    }
    if (!marqueeFrom_ || MouseLeftDown()) {
        return;
    }
    group_ = Picking::Within(LevelObjects(), *marqueeFrom_, EditorCommon::Mouse());
    marqueeFrom_.reset();
    if (!group_.empty()) {
        // One of them leads, so that the keys that delete and drag have an object to act on.
        Select(group_.front());
        mayTransform = true;
        wantsPanel = false;
    }
}

void LevelEditor::DragGroupAlong(const Object& dragged, const Vector2D& before) {
    const Vector2D moved = dragged.GetTransform().GetPosition() - before;
    for (Object* member : group_) {
        if (member != &dragged) {
            Transform2D& t = member->GetTransform();
            t.SetPosition(t.GetPosition() + moved);
        }
    }
}

void LevelEditor::ShowSelectionAndNames() {
    std::vector<platform::Outline> outlines;
    const auto outline = [&](const Object& object, const CameraView* view) {
        const Transform2D& t = object.GetTransform();
        if (view) {
            outlines.push_back(ToOutline(Picking::OnScreen(*view, t.GetPosition(), t.GetScale())));
        }
    };
    if (selectedObject) {
        // An archetype picked for painting is an icon of the palette's view.
        const bool icon = selectedObject->IsArchetype() && !archetypeView_;
        outline(*selectedObject, ViewAt(icon ? 1 : 0));
    }
    for (const Object* member : group_) {
        if (member != selectedObject) {
            outline(*member, ViewAt(0));
        }
    }
    if (marqueeFrom_ && ViewAt(0)) {
        const Vector2D a = *marqueeFrom_;
        const Vector2D b = EditorCommon::Mouse();
        outlines.push_back(ToOutline(Picking::OnScreen(
            *ViewAt(0), (a + b) * 0.5f, {std::abs(a.x - b.x) / 2.0f, std::abs(a.y - b.y) / 2.0f})));
    }
    panels_.SetOutlines(std::move(outlines));

    std::string name;
    for (const auto& [archetypeName, archetype] : ArchetypeTable()) {
        if (archetype->IsVisible() && InputSystem::IsMouseOver(*archetype)) {
            name = archetypeName;
        }
    }
    panels_.SetTooltip(std::move(name));
}
