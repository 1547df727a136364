// Undo and redo: every finished edit, a whole gesture at a time, becomes one step of the history
// (editor/level_history.h) and refreshes the autosave.
#include <algorithm>
#include <iterator>
#include <sstream>

#include "editor/level_editor.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

namespace {

// Keys whose holding goes on changing the selected object: one undo step per hold.
constexpr int kHeldEditKeys[] = {
    VirtualKey::Plus, VirtualKey::Minus, 'W', 'S', 'A', 'D', 'Q', 'E', 'I', 'K'};

}  // namespace

void LevelEditor::RecordEdits() {
    if (LevelObjects().size() != lastObjectCount_) {
        lastObjectCount_ = LevelObjects().size();
        levelTouched_ = true;
    }
    if (panels_.TakeEdits()) {
        levelTouched_ = true;
    }
    if (!levelTouched_) {
        return;
    }
    // A gesture (a drag, a stroke of paint, a held key, typing into a field) is one step.
    using namespace InputSystem;
    const bool gestureGoesOn =
        MouseLeftDown() || MouseRightDown() || panels_.IsEditing() ||
        std::any_of(std::begin(kHeldEditKeys), std::end(kHeldEditKeys), KeyDown);
    if (gestureGoesOn) {
        return;
    }
    levelTouched_ = false;
    std::string text = LevelText(LevelObjects());
    KeepAutosave(text);
    unsavedShown_ = DiffersFromSaved(text);
    history_.Record(std::move(text));
}

void LevelEditor::Undo() {
    // An edit still in progress becomes a step of its own first, so undo takes back exactly it.
    if (levelTouched_ || panels_.TakeEdits() || LevelObjects().size() != lastObjectCount_) {
        history_.Record(LevelText(LevelObjects()));
        levelTouched_ = false;
    }
    if (auto level = history_.Undo()) {
        Restore(*level);
    }
}

void LevelEditor::Redo() {
    if (auto level = history_.Redo()) {
        Restore(*level);
    }
}

void LevelEditor::Restore(const std::string& levelText) {
    if (selectedObject && !selectedObject->IsArchetype()) {
        Deselect();
    }
    ForgetGroup();
    DestroyAllLevelObjects();
    std::istringstream in(levelText);
    ReadLevelObjects(in, "the editor's undo history");
    lastObjectCount_ = LevelObjects().size();
    levelTouched_ = false;
    barOutOfDate = true;
    const std::string text = LevelText(LevelObjects());
    // An undo is a change like any other: a kill after it must not bring the undone work back.
    KeepAutosave(text);
    unsavedShown_ = DiffersFromSaved(text);
}
