// The one place where a transform reaches into the collider classes: a moved object's box collider
// takes the new centre at once, because later contacts in the same step read it.
#pragma once

#include "core/vector.h"

class BoxCollider2D;
class Object;

// The object's "BoxCollider2D", or null.
BoxCollider2D* FindBoxCollider(const Object& object);
// Centres the object's box collider, if it has one, on `centre`.
void SyncBoxColliderCentre(Object& object, const Vector2D& centre);
// Moves the object to `position` and centres `box` (its box collider, looked up once by a caller
// that moves it often, or null) there too: Transform2D::SetPosition without the lookup.
void MoveKeepingBoxCentred(Object& object, BoxCollider2D* box, const Vector2D& position);
