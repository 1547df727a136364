// Small steps every gameplay piece shares: finding the player and the body of an object a contact
// names, the push direction of a rotated piece, the owner's particle burst, sounds and rumble.
// Pieces react to the Collision messages of the frame before (CollisionMessage::Other gives the
// object paired with the piece, or null for a contact that does not name it).
#pragma once

#include <string>

#include "core/messaging.h"

class Object;
class PlayerControlComponent;
class RigidBody2D;

namespace gameplay {

// The half turn added to a piece's rotation: an unrotated piece pushes straight up (+y), one
// turned by r radians along (sin r, cos r).
inline constexpr float kHalfPi = 1.5707964f;

// The object's "PlayerControlComponent" / "RigidBody2D", or null (also for a null object).
PlayerControlComponent* PlayerOf(const Object* object);
RigidBody2D* BodyOf(const Object* object);
// The level's character: the control of the live object "Player1", or null.
PlayerControlComponent* LevelPlayer();

// The one way a piece reads its contacts: calls `react(kind, other)` for each contact of the frame
// before that names `owner`, in sending order, with the object it pairs `owner` with. A piece not
// yet on an object (null `owner`) has none.
template <class React>
void ForEachContact(const Object* owner, React react) {
    if (!owner) {
        return;
    }
    MessagingSystem::ForEach<CollisionMessage>([&](const CollisionMessage& hit) {
        if (Object* other = hit.Other(owner)) {
            react(hit.kind, *other);
        }
    });
}

// Calls `react` with the other object of each contact with `owner` that began the frame before.
template <class React>
void ForEachContactBegun(const Object* owner, React react) {
    ForEachContact(owner, [&react](CollisionKind kind, Object& other) {
        if (kind == CollisionKind::Began) {
            react(other);
        }
    });
}

// Whether a debug key sent `command` the frame before (the key table is input/debug_keys.h).
bool DebugCommandSent(DebugCommand command);

// The angle for AddForcePolar / ApplyImpulsePolar along which `piece` pushes.
float PushAngle(const Object& piece);

// Switches the emitting of the object's "ParticleEmitterComponent", when it has one.
void SetEmitting(Object& object, bool on);
bool HasEmitter(const Object& object);

void PlaySound(const std::string& event);
// Played where `piece` stands, so that it is heard from there.
void PlaySoundAt(const std::string& event, const Object& piece);
void StopSound(const std::string& event);

// Both motors of the player's own gamepad at `strength` (0..1).
void Rumble(const PlayerControlComponent& player, float strength);

// Makes the object's box collider hollow and removes it, so the object never touches anything
// again. False when it had no "BoxCollider2D".
bool DropBoxCollider(Object& object);

}  // namespace gameplay
