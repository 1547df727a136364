#include "gameplay/reset_component.h"

#include "gameplay/gameplay_support.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_SAVED_COMPONENT(Reset) {
    VORL_MEMBERS(meta, resetPosition, endOfScreen);
}

void Reset::Update() {
    RigidBody2D* body = gameplay::BodyOf(owner);
    if (!body || owner->GetTransform().GetPosition().y >= endOfScreen) {
        return;
    }
    owner->GetTransform().SetPosition(resetPosition);
    body->SetVelocity({0.0f, 0.0f});
}
