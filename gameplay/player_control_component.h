// PlayerControlComponent: the player character. Turns keyboard and gamepad input into forces and
// velocity changes on its RigidBody2D, switches between the heavy full form (texture "VorlFull")
// and the light half form ("VorlHalf"), decides when a jump is allowed, spins the character out
// after a win, and notices the fall out of the level. It makes the face (a clone of the archetype
// "Face") on its first update; the face follows the character and shows only in the full form.
//
// Game-logic pieces of other objects read and write `isFull`, `canJump`, `inCannon` and
// "playerNum" directly and call Win(). Contacts are read in the frame after they happen, like
// every piece's. Without a RigidBody2D the character neither moves nor falls.
#pragma once

#include "core/vector.h"
#include "objects/component_registration.h"

class EndOfGame;
class Object;
class RigidBody2D;

class PlayerControlComponent : public ComponentOf<PlayerControlComponent, GameLogicComponent> {
public:
    // Where a contact lies as seen from the character (Side()).
    enum Side { kAbove = 0, kBelow = 1, kLeft = 2, kRight = 3 };

    void Update() override;
    void HandleMessages() override;

    void Win() { winning = true; }
    void SetActive(bool on) { active = on; }
    void SetFaceSynced(bool synced) { faceSynced = synced; }
    bool IsWinning() const { return winning; }
    bool IsDefeated() const { return defeated; }
    Object* GetFace() const { return face; }

    // The form switches. The keyboard and gamepad variants differ on purpose: only the keyboard's
    // turn to the full form stops a bounce and locks the jump for a frame and its turn to the half
    // form straightens the sprite; only the gamepad's turn to the full form gives a small kick.
    void SwitchFormByKeyboard();
    void SwitchFormByGamepad();

    // Serialized members, in the data files' order.
    int playerNum = 0;
    float hWeight = 2.13f;
    float lWeight = 1.2f;
    float hSpeed = 600.0f;
    float lSpeed = 300.0f;
    float hjumpheight = 750.0f;
    float ljumpheight = 400.0f;
    float levelReset = -384.0f;
    bool active = true;
    float spinTime = 2.5f;

    // Runtime state.
    bool isFull = true;
    bool canJump = false;
    bool inCannon = false;
    bool defeated = false;
    bool jumpLocked = false;
    bool winning = false;
    bool faceSynced = false;
    float spinTimer = 0.0f;

private:
    void MakeFace();
    void WinSpin(RigidBody2D* body, float dt);
    // On the ending: whether the player has seen the stars fly and wants to go on.
    bool EndingWatched(const EndOfGame& ending) const;
    // Long enough to read "Press any key to go on" and take the hand off the keys.
    static constexpr float kEndingLinger = 15.0f;
    void CollisionPass();
    void KeyboardPass(RigidBody2D& body, Vector2D& force);
    void GamepadPass(RigidBody2D& body, Vector2D& force);
    void DriveRight(RigidBody2D& body, Vector2D& force, float threshold, float kick);
    void DriveLeft(RigidBody2D& body, Vector2D& force, float threshold, float kick);
    void Jump(RigidBody2D& body);
    void ApplySpeedCap(RigidBody2D& body) const;
    void FallCheck();
    // Texture, mass and face of a form; the parts both switch variants share.
    void TakeForm(bool full, RigidBody2D* body);

    Object* face = nullptr;
    bool faceTried = false;
};

// Where `other` lies as seen from `self`: the larger axis of the offset decides; a tie or no
// offset at all counts as below.
PlayerControlComponent::Side SideOf(const Object& self, const Object& other);
