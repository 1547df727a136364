// What a click or a marquee picks in the level, and where the selection's outline lies on screen.
// The renderer draws each object at the whole part of its layer with a less-or-equal depth test,
// in the order the objects joined the level: of the objects under a point, the one on top has the
// highest whole layer, and of equal whole layers the one that joined last. An object is under a
// point when the point lies within its position plus or minus its scale, bounds included.
#pragma once

#include <array>
#include <vector>

#include "core/vector.h"

class Object;
class CameraView;

namespace Picking {

// The object of `objects` (in joining order) drawn on top at `point`, or null.
Object* OnTopAt(const std::vector<Object*>& objects, const Vector2D& point);

// The objects whose whole box lies within the rectangle with corners `a` and `b`.
std::vector<Object*> Within(const std::vector<Object*>& objects, const Vector2D& a,
                            const Vector2D& b);

// The corners of the rectangle `centre` +- `half`, turned by `radians`, in back-buffer pixels of
// `view`, in drawing order.
std::array<Vector2D, 4> OnScreen(const CameraView& view, const Vector2D& centre,
                                 const Vector2D& half, float radians = 0.0f);

}  // namespace Picking
