#include "gameplay/puzzle_behavior.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_COMPONENT(PuzzleBehavior) {
    VORL_MEMBERS(meta, React_Fan, React_Cannon, React_Goal, FanStrength, CannonStrength);
}

VORL_REGISTER_COMPONENT(PuzzleComponent) {
    VORL_MEMBERS(meta, PuzzleID, Strength);
}

void PuzzleBehavior::Update() {
    if (RigidBody2D* body = gameplay::BodyOf(owner)) {
        gameplay::ForEachContact(owner, [this, body](CollisionKind kind, const Object& other) {
            React(kind, other, *body);
        });
    }
}

void PuzzleBehavior::React(CollisionKind kind, const Object& other, RigidBody2D& body) {
    const auto* marker = other.Get<PuzzleComponent>("PuzzleComponent");
    if (!marker) {
        return;
    }
    PlayerControlComponent* player = gameplay::PlayerOf(owner);
    const bool began = kind == CollisionKind::Began;
    switch (marker->PuzzleID) {
        case PuzzleComponent::kCannon:
            if (React_Cannon != 0) {
                body.AddForcePolar(CannonStrength, gameplay::PushAngle(other));
                if (began) {
                    gameplay::PlaySoundAt("SFX/Star_Cannon_01", other);
                }
            }
            break;
        case PuzzleComponent::kFan:
            if (React_Fan != 0) {
                body.AddForcePolar(FanStrength, gameplay::PushAngle(other));
                if (began) {
                    gameplay::PlaySoundAt("Wind_01", other);
                }
                if (player) {
                    const bool ended = kind == CollisionKind::Ended;
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
