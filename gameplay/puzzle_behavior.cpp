#include "gameplay/puzzle_behavior.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_COMPONENT(PuzzleBehavior) {
    meta.Member("React_Fan", &PuzzleBehavior::React_Fan)
        .Member("React_Cannon", &PuzzleBehavior::React_Cannon)
        .Member("React_Goal", &PuzzleBehavior::React_Goal)
        .Member("FanStrength", &PuzzleBehavior::FanStrength)
        .Member("CannonStrength", &PuzzleBehavior::CannonStrength);
}

VORL_REGISTER_COMPONENT(PuzzleComponent) {
    meta.Member("PuzzleID", &PuzzleComponent::PuzzleID)
        .Member("Strength", &PuzzleComponent::Strength);
}

void PuzzleBehavior::HandleMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        if (const auto* hit = As<CollisionMessage>(*message)) {
            collisions.push_back(hit);
        }
    }
}

void PuzzleBehavior::Update() {
    HandleMessages();
    if (RigidBody2D* body = gameplay::BodyOf(owner)) {
        for (const CollisionMessage* hit : collisions) {
            React(*hit, *body);
        }
    }
    collisions.clear();
}

void PuzzleBehavior::React(const CollisionMessage& hit, RigidBody2D& body) {
    const Object* other = hit.Other(owner);
    const auto* marker = other ? other->Get<PuzzleComponent>("PuzzleComponent") : nullptr;
    if (!marker) {
        return;
    }
    PlayerControlComponent* player = gameplay::PlayerOf(owner);
    const bool began = hit.kind == CollisionKind::Began;
    switch (marker->PuzzleID) {
        case PuzzleComponent::kCannon:
            if (React_Cannon != 0) {
                body.AddForcePolar(CannonStrength, gameplay::PushAngle(*other));
                if (began) {
                    gameplay::PlaySoundAt("SFX/Star_Cannon_01", *other);
                }
            }
            break;
        case PuzzleComponent::kFan:
            if (React_Fan != 0) {
                body.AddForcePolar(FanStrength, gameplay::PushAngle(*other));
                if (began) {
                    gameplay::PlaySoundAt("Wind_01", *other);
                }
                if (player) {
                    const bool ended = hit.kind == CollisionKind::Ended;
                    gameplay::Rumble(*player, ended ? 0.0f : player->isFull ? 0.1f : 0.18f);
                }
            }
            break;
        case PuzzleComponent::kGoal:
            if (React_Goal != 0 && began) {
                if (player) {
                    player->Win();
                }
                gameplay::PlaySound("SFX/Level_Complete");
            }
            break;
        default:
            break;
    }
}
