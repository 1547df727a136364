// Whether the level or archetype editor is active. While it is, a level start does not resume
// the game logic, physics stays still and the renderer draws the editor's view. The editor sets
// it; the systems below the editor only read it, which is why it lives here and not in editor/.
#pragma once

#include <functional>

namespace EditorMode {
bool IsActive();
void SetActive(bool active);

// The window's close button asks the editor first: the guard returns true when it keeps the game
// running to ask about unsaved work (it ends the game itself once answered). No guard: closing
// ends the game.
void SetCloseGuard(std::function<bool()> guard);
// What a close of the window does: false when the guard holds the game open.
bool CloseEndsGame();
}  // namespace EditorMode
