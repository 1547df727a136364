#include "gameplay/teleporter_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_SAVED_COMPONENT(TeleporterComponent) {
    VORL_MEMBERS(meta, teleportLocation);
}

void TeleporterComponent::HandleMessages() {
    gameplay::ForEachContactBegun(owner, [this](Object& other) {
        RigidBody2D* body = gameplay::BodyOf(&other);
        if (!body || body->state == 0) {
            return;
        }
        body->SetVelocity({0.0f, 0.0f});
        other.GetTransform().SetPosition(teleportLocation);
    });
}
