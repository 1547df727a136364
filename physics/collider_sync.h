// The one place where a transform reaches into the collider classes: a moved object's box collider
// takes the new centre at once, because later contacts in the same step read it.
#pragma once

#include "core/vector.h"

class Object;

void SyncBoxColliderCentre(Object& object, const Vector2D& centre);
