#include "physics/collider_sync.h"

// Colliders arrive with the physics step; until then no object has a box collider to move.
void SyncBoxColliderCentre(Object& /*object*/, const Vector2D& /*centre*/) {}
