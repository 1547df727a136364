#include "gameplay/fan_component.h"

#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_SAVED_COMPONENT(FanComponent) {
    VORL_MEMBERS(meta, speed);
}

namespace {

constexpr float kFullFormRumble = 0.1f;
constexpr float kHalfFormRumble = 0.18f;
const std::string kHeavyWind = "SFX/Wind_Heavy";
const std::string kLightWind = "SFX/Wind_Light";

}  // namespace

void FanComponent::HandleMessages() {
    if (!owner) {
        return;
    }
    gameplay::ForEachContact(owner, [this](CollisionKind kind, Object& other) {
        PlayerControlComponent* player = gameplay::PlayerOf(&other);
        if (RigidBody2D* body = gameplay::BodyOf(&other); body && (!player || !player->isFull)) {
            body->AddForcePolar(speed, gameplay::PushAngle(*owner));
        }
        if (!player) {
            return;
        }
        const bool full = player->isFull;
        if (kind == CollisionKind::Began) {
            gameplay::PlaySoundAt(full ? kHeavyWind : kLightWind, *owner);
        }
        if (kind == CollisionKind::Ended) {
            gameplay::Rumble(*player, 0.0f);
            gameplay::StopSound(full ? kHeavyWind : kLightWind);
        } else {
            // A form change inside the wind swaps the sound.
            gameplay::Rumble(*player, full ? kFullFormRumble : kHalfFormRumble);
            gameplay::StopSound(full ? kLightWind : kHeavyWind);
            gameplay::PlaySoundAt(full ? kHeavyWind : kLightWind, *owner);
        }
    });
}
