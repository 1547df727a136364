#include "physics/collider_sync.h"

#include "objects/object.h"
#include "objects/transform2d.h"
#include "physics/colliders.h"

namespace {

// Every transform moved through SetPosition keeps its owner's box on it, from the start of the run.
[[maybe_unused]] const bool kFollowingTransforms = [] {
    Transform2D::SetPositionFollower(&SyncBoxColliderCentre);
    return true;
}();

}  // namespace

BoxCollider2D* FindBoxCollider(const Object& object) {
    return object.Get<BoxCollider2D>("BoxCollider2D");
}

void SyncBoxColliderCentre(Object& object, const Vector2D& centre) {
    if (BoxCollider2D* box = FindBoxCollider(object)) {
        box->SetCentre(centre);
    }
}

void MoveKeepingBoxCentred(Object& object, BoxCollider2D* box, const Vector2D& position) {
    object.GetTransform().position = position;
    if (box) {
        box->SetCentre(position);
    }
}
