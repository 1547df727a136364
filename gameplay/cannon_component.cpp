#include "gameplay/cannon_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_SAVED_COMPONENT(CannonComponent) {
    VORL_MEMBERS(meta, speed);
}

namespace {

constexpr float kFullFormRumble = 0.3f;
constexpr float kHalfFormRumble = 0.15f;

}  // namespace

void CannonComponent::HandleMessages() {
    if (!owner) {
        return;
    }
    const Vector2D centre = owner->GetTransform().GetPosition();
    gameplay::ForEachContact(owner, [this, centre](CollisionKind kind, Object& other) {
        PlayerControlComponent* player = gameplay::PlayerOf(&other);
        RigidBody2D* body = gameplay::BodyOf(&other);
        const Vector2D at = other.GetTransform().GetPosition();
        if (kind == CollisionKind::Began && !occupied) {
            gameplay::PlaySoundAt("SFX/Star_Cannon_01", *owner);
            if (body) {
                if (player) {
                    player->inCannon = true;
                }
                body->SetVelocity(at - centre);
                body->heldByCannon = true;
                occupied = true;
                // Seen in the barrel at once, though the pull takes its time.
                other.SetDrawnAt(centre);
            }
        } else if (kind == CollisionKind::Continues && body && body->heldByCannon) {
            --countdown;
            body->SetVelocity(centre - at);
            if (player) {
                player->canJump = false;
                player->inCannon = true;
            }
            gameplay::SetEmitting(*owner, true);
            other.SetDrawnAt(centre);
            if (countdown == 0) {
                body->ApplyImpulsePolar(speed, gameplay::PushAngle(*owner));
                countdown = kHoldFrames;
                body->heldByCannon = false;
                other.SetDrawnAt(std::nullopt);
            }
        } else if (kind == CollisionKind::Ended && body && body->heldByCannon) {
            // Let go without a launch (the contact broke): drawn where it is again.
            other.SetDrawnAt(std::nullopt);
        }
        if (kind == CollisionKind::Ended && occupied) {
            gameplay::SetEmitting(*owner, false);
            if (player) {
                gameplay::Rumble(*player, 0.0f);
            }
            occupied = false;
            countdown = kHoldFrames;
        }
        if (player && kind != CollisionKind::Ended) {
            gameplay::Rumble(*player, player->isFull ? kFullFormRumble : kHalfFormRumble);
        }
    });
}
