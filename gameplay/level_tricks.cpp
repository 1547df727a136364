#include "gameplay/level_tricks.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/run_state.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "physics/colliders.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_COMPONENT(ObjectMoveComponent) {
    VORL_MEMBERS(meta, direction);
}

VORL_REGISTER_SAVED_COMPONENT(InvisibleComponent) {
    VORL_MEMBERS(meta, setVisible);
}

VORL_REGISTER_SAVED_COMPONENT(PresentationLockingDoor) {
    VORL_MEMBERS(meta, dontUse);
}

VORL_REGISTER_SAVED_COMPONENT(EndSkip) {
    VORL_MEMBERS(meta, sillyData);
}

VORL_REGISTER_COMPONENT(FaceComponent) {}

void ObjectMoveComponent::Update() {
    if (!owner || !ClaimOncePerGame("ObjectMoveComponent")) {
        return;
    }
    if (RigidBody2D* body = gameplay::BodyOf(owner)) {
        body->SetVelocity(direction);
    }
}

void InvisibleComponent::Update() {
    HandleMessages();
    if (owner && setVisible == 0) {
        setVisible = 1;
        owner->RemoveComponent("TextureComponent");
    }
}

void PresentationLockingDoor::Update() {
    if (owner && dontUse == 0) {
        dontUse = 1;
        owner->SetVisible(false);
    }
    HandleMessages();
}

void PresentationLockingDoor::HandleMessages() {
    if (!owner) {
        return;
    }
    gameplay::ForEachContact(owner, [this](CollisionKind kind, const Object& other) {
        // Whichever side of the contact is named "Player1".
        if (kind == CollisionKind::Ended &&
            (owner->GetName() == "Player1" || other.GetName() == "Player1")) {
            owner->SetVisible(true);
            if (auto* box = owner->Get<BoxCollider2D>("BoxCollider2D")) {
                box->SetHollow(false);
            }
        }
    });
}

void EndSkip::Update() {
    HandleMessages();
    if (!owner || !gameplay::DebugCommandSent(DebugCommand::EndSkip)) {
        return;
    }
    if (RigidBody2D* body = gameplay::BodyOf(owner)) {
        body->ZeroVelocityX();
        body->ZeroVelocityY();
    }
    owner->GetTransform().SetPosition(kLaunchPoint);
}
