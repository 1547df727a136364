#include "physics/one_way.h"

#include "core/messaging.h"
#include "objects/object.h"
#include "physics/colliders.h"

VORL_REGISTER_SAVED_COMPONENT(OneWay) {
    VORL_MEMBERS(meta, dontUse, top, bottom, left, right);
}

void OneWay::SetHollow(bool hollow) {
    if (auto* box = owner->Get<BoxCollider2D>("BoxCollider2D")) {
        box->SetHollow(hollow);
    }
}

void OneWay::Update() {
    if (!owner) {
        return;
    }
    // "dontUse" doubles as the first-update latch: it is saved as 1 once the level ran.
    if (dontUse == 0) {
        dontUse = 1;
        owner->SetVisible(false);
        SetHollow(true);
    }
    HandleMessages();
}

void OneWay::HandleMessages() {
    if (!owner) {
        return;
    }
    MessagingSystem::ForEach<CollisionMessage>([this](const CollisionMessage& contact) {
        Object* other = contact.Other(owner);
        if (!other) {
            return;
        }
        if (contact.kind == CollisionKind::Ended) {
            SetHollow(true);
            return;
        }
        if (contact.objectA->GetName() != "Player1" && contact.objectB->GetName() != "Player1") {
            return;
        }
        const Vector2D self = owner->GetTransform().GetPosition();
        const Vector2D them = other->GetTransform().GetPosition();
        bool solid = false;
        if (top != 0) {
            solid = them.y > self.y;
        } else if (bottom != 0) {
            solid = self.y > them.y;
        } else if (left != 0) {
            solid = self.x > them.x;
        } else if (right != 0) {
            solid = them.x > self.x;
        }
        if (solid) {
            SetHollow(false);
        }
    });
}
