#include "gameplay/gameplay_support.h"

#include "core/messaging.h"
#include "gameplay/player_control_component.h"
#include "graphics/particle_emitter_component.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/colliders.h"
#include "physics/rigid_body2d.h"

namespace gameplay {

PlayerControlComponent* PlayerOf(const Object* object) {
    return object ? object->Get<PlayerControlComponent>("PlayerControlComponent") : nullptr;
}

PlayerControlComponent* LevelPlayer() {
    // By name: asking every object of a big level for a component by name, at every step, was a
    // tenth of the step.
    return PlayerOf(FindLevelObject("Player1"));
}

RigidBody2D* BodyOf(const Object* object) {
    return object ? object->Get<RigidBody2D>("RigidBody2D") : nullptr;
}

float PushAngle(const Object& piece) {
    return piece.GetTransform().GetRotationRadians() + kHalfPi;
}

void SetEmitting(Object& object, bool on) {
    if (auto* emitter = object.Get<ParticleEmitterComponent>("ParticleEmitterComponent")) {
        emitter->active = on;
    }
}

bool HasEmitter(const Object& object) {
    return object.HasComponent("ParticleEmitterComponent");
}

void PlaySound(const std::string& event) {
    MessagingSystem::Send<PlaySoundMessage>(event);
}

void PlaySoundAt(const std::string& event, const Object& piece) {
    MessagingSystem::Send<PlaySoundMessage>(event, piece.GetTransform().GetPosition());
}

void StopSound(const std::string& event) {
    MessagingSystem::Send<StopSoundMessage>(event);
}

void Rumble(const PlayerControlComponent& player, float strength) {
    InputSystem::SetRumble(player.playerNum, strength);
}

bool DropBoxCollider(Object& object) {
    auto* box = object.Get<BoxCollider2D>("BoxCollider2D");
    if (!box) {
        return false;
    }
    box->SetHollow(true);
    object.RemoveComponent("BoxCollider2D");
    return true;
}

bool DebugCommandSent(DebugCommand command) {
    bool sent = false;
    MessagingSystem::ForEach<DebugCommandMessage>(
        [&](const DebugCommandMessage& debug) { sent = sent || debug.command == command; });
    return sent;
}

}  // namespace gameplay
