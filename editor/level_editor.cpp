#include "editor/level_editor.h"

#include "objects/object_system.h"

void LevelEditor::Shutdown() {
    DestroyAllLevelObjects();
}
