// Whether the level or archetype editor is active. While it is, a level start does not resume
// the game logic, physics stays still and the renderer draws the editor's view. The editor sets
// it; the systems below the editor only read it, which is why it lives here and not in editor/.
#pragma once

namespace EditorMode {
bool IsActive();
void SetActive(bool active);
}  // namespace EditorMode
