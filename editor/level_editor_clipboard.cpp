// Copy, paste and duplicate. The clipboard holds the copied objects as level text, the form a
// save writes, so a paste makes exactly what a load of them would, even after the originals are
// gone. A paste arrives around the mouse, a duplicate right beside its original (to the right,
// touching it, where the next tile of a row goes); either way the new pieces become the group.
#include <algorithm>
#include <limits>
#include <sstream>

#include "editor/level_editor.h"
#include "editor/level_editor_common.h"
#include "editor/placement.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace {

struct Box {
    Vector2D low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vector2D high{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
    Vector2D Centre() const { return (low + high) * 0.5f; }
};

Box BoundsOf(const std::vector<Object*>& objects) {
    Box box;
    for (const Object* object : objects) {
        const Vector2D p = object->GetTransform().GetPosition();
        const Vector2D s = object->GetTransform().GetScale();
        box.low = {std::min(box.low.x, p.x - s.x), std::min(box.low.y, p.y - s.y)};
        box.high = {std::max(box.high.x, p.x + s.x), std::max(box.high.y, p.y + s.y)};
    }
    return box;
}

}  // namespace

std::vector<Object*> LevelEditor::CopySource() const {
    if (!group_.empty()) {
        return group_;
    }
    if (selectedObject && !selectedObject->IsArchetype()) {
        return {selectedObject};
    }
    return {};
}

void LevelEditor::Copy() {
    const std::vector<Object*> source = CopySource();
    if (source.empty()) {
        return;
    }
    Placement::FitBoxCollidersToScale(source);
    clipboard_ = LevelText(source);
}

std::vector<Object*> LevelEditor::PasteText(const std::string& text) {
    const std::size_t before = LevelObjects().size();
    std::istringstream in(text);
    ReadLevelObjects(in, "the clipboard");
    std::vector<Object*> pasted(LevelObjects().begin() + static_cast<std::ptrdiff_t>(before),
                                LevelObjects().end());
    Deselect();
    ForgetGroup();
    group_ = pasted;
    levelTouched_ = levelTouched_ || !pasted.empty();
    return pasted;
}

void LevelEditor::MoveGroup(const Vector2D& by) {
    for (Object* member : group_) {
        Transform2D& t = member->GetTransform();
        t.SetPosition(t.GetPosition() + by);
    }
}

void LevelEditor::Paste() {
    if (clipboard_.empty()) {
        return;
    }
    const std::vector<Object*> pasted = PasteText(clipboard_);
    if (EditorCommon::MouseOverLevel() && !pasted.empty()) {
        MoveGroup(EditorCommon::Mouse() - BoundsOf(pasted).Centre());
    }
}

void LevelEditor::Duplicate() {
    const std::vector<Object*> source = CopySource();
    if (source.empty()) {
        return;
    }
    const Box box = BoundsOf(source);
    Placement::FitBoxCollidersToScale(source);
    PasteText(LevelText(source));
    MoveGroup({box.high.x - box.low.x, 0.0f});
}
