// Whether the level or archetype editor is active. While it is, a level start does not resume
// the game logic.
#pragma once

namespace EditorMode {
bool IsActive();
void SetActive(bool active);
}  // namespace EditorMode
