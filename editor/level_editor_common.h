// What the level editor's files share: the state of the keys and the mouse as the editor reads
// them, and whether an object it points to still exists.
#pragma once

#include "core/vector.h"

class Object;

namespace EditorCommon {

// The palette column is a million units to the left; nothing is dragged, painted or marqueed
// there.
inline constexpr int kPaletteColumnEdge = -500000;

bool CtrlHeld();
// The mouse in world units.
Vector2D Mouse();
// Over the level, not over the palette column.
bool MouseOverLevel();
// Whether `object` is still a level object or an archetype. Compares addresses only: the object
// may already have been freed.
bool IsLive(const Object* object);

}  // namespace EditorCommon
