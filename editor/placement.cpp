#include "editor/placement.h"

#include "editor/palette.h"
#include "objects/object.h"
#include "physics/collider_sync.h"
#include "physics/colliders.h"

namespace Placement {

Vector2D SizeOf(const Object& source) {
    const Vector2D scale = source.GetTransform().GetScale();
    if (!source.IsArchetype()) {
        return scale;
    }
    if (const BoxCollider2D* box = FindBoxCollider(source)) {
        const Vector2D half = box->GetHalfSize();
        if (half.x > 0.0f && half.y > 0.0f) {
            return half;
        }
    }
    if (const auto* circle = source.Get<CircleCollider2D>("CircleCollider2D");
        circle && circle->radius > 0.0f) {
        return {circle->radius, circle->radius};
    }
    return scale;
}

Object* PlaceInstance(const Object& source, const Vector2D& at, const Vector2D& size,
                      int rotationDegrees) {
    Object* instance = source.Clone();
    Transform2D& t = instance->GetTransform();
    t.SetPosition(at);
    t.SetZLayer(kPlacedLayer);
    t.SetRotationDegrees(rotationDegrees);
    t.SetScale(size);
    Palette::StripPaletteComponents(*instance);
    instance->SetVisible(true);
    FitBoxCollidersToScale({instance});
    return instance;
}

void FitBoxCollidersToScale(const std::vector<Object*>& objects) {
    for (Object* object : objects) {
        if (BoxCollider2D* box = FindBoxCollider(*object)) {
            box->GetHalfSize() = object->GetTransform().GetScale();
            box->angle = object->GetTransform().GetRotationRadians();
        }
    }
}

}  // namespace Placement
