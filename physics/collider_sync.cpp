#include "physics/collider_sync.h"

#include <typeinfo>

#include "objects/object.h"
#include "physics/colliders.h"

void SyncBoxColliderCentre(Object& object, const Vector2D& centre) {
    // Every move of every object passes here: match the exact class before a dynamic_cast.
    Component* component = object.GetComponent("BoxCollider2D");
    if (!component) {
        return;
    }
    auto* box = typeid(*component) == typeid(BoxCollider2D)
                    ? static_cast<BoxCollider2D*>(component)
                    : dynamic_cast<BoxCollider2D*>(component);
    if (box) {
        box->SetCentre(centre);
    }
}
