#include "editor/level_editor.h"

#include "meta/meta_registration.h"
#include "objects/object_system.h"

VORL_REGISTER_TYPE(LevelEditor, "LevelEditor") {
    meta.Member("update", &LevelEditor::update);
}

void LevelEditor::Shutdown() {
    DestroyAllLevelObjects();
}
