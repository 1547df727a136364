#include "editor/level_editor_common.h"

#include <algorithm>

#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace EditorCommon {

bool CtrlHeld() {
    return InputSystem::KeyDown(VirtualKey::Control);
}

Vector2D Mouse() {
    return {static_cast<float>(InputSystem::GetMouseX()),
            static_cast<float>(InputSystem::GetMouseY())};
}

bool MouseOverLevel() {
    return InputSystem::GetMouseX() > kPaletteColumnEdge;
}

bool IsLive(const Object* object) {
    const auto& live = LevelObjects();
    if (std::find(live.begin(), live.end(), object) != live.end()) {
        return true;
    }
    for (const auto& [name, archetype] : ArchetypeTable()) {
        if (archetype == object) {
            return true;
        }
    }
    return false;
}

}  // namespace EditorCommon
