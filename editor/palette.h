// The archetype palette and the editor's views. The palette shows every archetype of the
// ArchetypeTable as a 60 x 60 icon in a column: the first at offset 420, each next one 62 lower.
// The order is the archetype list's ("Objects"), so it stays the same between runs and after a
// save; the game's own archetypes (menus, screens, the scripted ending) come after the pieces a
// designer places, one slot apart. In the level editor the column sits at x -1000000 in a 72-pixel
// view of its own at the right edge of the screen. The archetype view shows them all at once in a
// grid over the whole screen (a column at its right edge would show a few, half cut off), in the
// same order, left to right and top to bottom.
//
// The level sequencer calls the two view set-ups (through its hooks) when the level editor or
// the archetype view is asked for; the editor hides the palette when it is switched off or left.
#pragma once

#include <cstddef>

#include "core/vector.h"

class Object;

namespace Palette {

inline constexpr float kLevelEditorX = -1000000.0f;
inline constexpr float kArchetypeViewX = 800.0f;
inline constexpr int kMainViewWidth = 1528;
inline constexpr int kPaletteViewWidth = 72;

// The offset of the icon at `index` in table order: 420 - 62 x index.
int OffsetAt(std::size_t index);

enum class Kind { LevelEditor, ArchetypeView };
// Gives every archetype its palette component (with its offset) and its screen-depth component,
// shows it at (x, offset) (the archetype view: at its grid place) with depth 10, no rotation,
// scale (30, 30) and no velocity.
void LayOut(Kind kind, float x);
// The archetype view's place of the icon at `index` in table order.
Vector2D GridPlace(std::size_t index);
// Clears every archetype's visible flag and removes its ArchetypeLevelEditorComponent.
void Hide();
// Removes the palette's components from a copy of an archetype, which is a level object now.
void StripPaletteComponents(Object& instance);

// Editor start: the main view (1528 pixels) and the palette view (72 pixels, camera at x
// -1000000), each with a new camera at height 50, then the palette laid out for the level editor.
void SetUpLevelEditorViews();
// The archetype view: one default view and the palette laid out at x 800.
void SetUpArchetypeView();

}  // namespace Palette
