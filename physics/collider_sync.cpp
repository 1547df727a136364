#include "physics/collider_sync.h"

#include "objects/object.h"
#include "physics/colliders.h"

void SyncBoxColliderCentre(Object& object, const Vector2D& centre) {
    if (auto* box = object.Get<BoxCollider2D>("BoxCollider2D")) {
        box->SetCentre(centre);
    }
}
