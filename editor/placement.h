// Where and how big a new piece arrives. The palette shows every archetype as a 30 x 30 icon, but
// a piece placed or painted from it takes the archetype's own size: the half size its box
// collider gives (a wall 256 x 32, a fan 64 x 192), or its circle's radius; only an archetype
// without a collider keeps the icon's size. Every new piece lies at layer 5, the layer pieces
// have always been placed at, above the backgrounds and below the player.
//
// A box collider follows its object's scale only while the physics steps, which it does not in
// the editor; before the level is written, every box takes its object's scale, so a saved level
// says the size its pieces have.
#pragma once

#include <vector>

#include "core/vector.h"

class Object;

namespace Placement {

inline constexpr float kPlacedLayer = 5.0f;

// The size a piece made from `source` arrives at: the archetype's own size for an archetype,
// the object's scale for a level object (painting with a level object copies it).
Vector2D SizeOf(const Object& source);

// A visible level object cloned from `source` at `at`, layer 5, with `size` and `rotation`
// degrees, without the palette's components.
Object* PlaceInstance(const Object& source, const Vector2D& at, const Vector2D& size,
                      int rotationDegrees = 0);

// Sets the half size and angle of every box collider of `objects` from its object's transform.
void FitBoxCollidersToScale(const std::vector<Object*>& objects);

}  // namespace Placement
