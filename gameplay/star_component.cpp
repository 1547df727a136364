#include "gameplay/star_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/run_state.h"
#include "objects/level_objects.h"
#include "objects/object.h"

VORL_REGISTER_SAVED_COMPONENT(StarComponent) {
    VORL_MEMBERS(meta, Donut);
}

int StarComponent::IndexInLevel() const {
    int index = 0;
    for (const Object* object : LevelObjects()) {
        if (object == owner) {
            return index;
        }
        if (object->HasComponent("StarComponent")) {
            ++index;
        }
    }
    return index;
}

void StarComponent::HandleMessages() {
    if (!owner) {
        return;
    }
    gameplay::ForEachContactBegun(owner, [this](const Object& other) {
        // The collider is the star's proof that it is still there: two first touches read in
        // one frame (a second contact begun in the same step) must not count it twice.
        if (!gameplay::PlayerOf(&other) || !owner->HasComponent("BoxCollider2D")) {
            return;
        }
        gameplay::PlaySound("SFX/Star_Collect");
        owner->SetVisible(false);
        gameplay::DropBoxCollider(*owner);
        TakeStar(IndexInLevel());
    });
}
