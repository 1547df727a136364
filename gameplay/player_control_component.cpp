#include "gameplay/player_control_component.h"

#include <cmath>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "gameplay/ending.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/run_state.h"
#include "graphics/texture_component.h"
#include "input/bindings.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

VORL_REGISTER_SAVED_COMPONENT(PlayerControlComponent) {
    VORL_MEMBERS(meta, playerNum, hWeight, lWeight, hSpeed, lSpeed, hjumpheight, ljumpheight,
                 levelReset, active, spinTime);
}

namespace {

constexpr float kSpinStep = 0.3f;          // radians per frame
constexpr float kShrinkPerSecond = 30.0f;  // scale units per second
constexpr float kRollDivisor = 1000.0f;    // velocity.x / this = radians rolled per frame
constexpr float kFaceDepth = 0.1f;
constexpr float kStickThreshold = 0.25f;
constexpr float kTurnAroundFactor = 10.0f;
constexpr float kFallMargin = 100.0f;
// The gamepad's turn to the full form: 90 taken as radians, as the pads always did.
constexpr float kPadSwitchImpulse = 10.0f;
constexpr float kPadSwitchAngle = 90.0f;
constexpr int kEndLevel = 19;

// The win spin's shrink: toward zero from either sign of x, snapping to nothing inside (-1, 1).
Vector2D Shrink(Vector2D s, float dt) {
    if (s.x > 0.01f) {
        s = s - Vector2D{kShrinkPerSecond, kShrinkPerSecond} * dt;
    } else if (s.x < -1.0f) {
        s += Vector2D{kShrinkPerSecond, -kShrinkPerSecond} * dt;
    }
    if (s.x > -1.0f && s.x < 1.0f) {
        s = Vector2D{0.0f, 0.0f};
    }
    return s;
}

void Turn(Object& object, float radians) {
    Transform2D& t = object.GetTransform();
    t.SetRotationRadians(t.GetRotationRadians() + radians);
}

void MoveOn(std::int32_t target) {
    CommitStars();
    MessagingSystem::Send<ChangeLevelMessage>(target);
}

bool IsJumpGround(const std::string& name) {
    return name == "Crate" || name == "BreakBlock" || name == "Movable";
}

}  // namespace

PlayerControlComponent::Side SideOf(const Object& self, const Object& other) {
    const Vector2D d = other.GetTransform().GetPosition() - self.GetTransform().GetPosition();
    if (std::fabs(d.x) > std::fabs(d.y)) {
        return d.x > 0.0f ? PlayerControlComponent::kRight : PlayerControlComponent::kLeft;
    }
    return d.y <= 0.0f ? PlayerControlComponent::kBelow : PlayerControlComponent::kAbove;
}

void PlayerControlComponent::HandleMessages() {
    if (MessagingSystem::WasSent(MessageType::TogglePause)) {
        InputSystem::StopRumble();
    }
}

void PlayerControlComponent::Update() {
    HandleMessages();
    if (!owner) {
        return;
    }
    const float dt = static_cast<float>(FrameRateController::GetDT());
    MakeFace();
    if (face) {
        face->GetTransform().SetPosition(owner->GetTransform().GetPosition());
        face->SetDrawnAt(owner->DrawnAt());
    }
    auto* body = owner->Get<RigidBody2D>("RigidBody2D");
    if (winning) {
        WinSpin(body, dt);
    }
    if (!faceSynced) {
        if (face) {
            face->SetVisible(true);
            face->GetTransform().SetZLayer(owner->GetTransform().GetZLayer() + kFaceDepth);
            face->GetTransform().SetScale(owner->GetTransform().GetScale());
        }
        faceSynced = true;
    }
    Vector2D force{0.0f, 0.0f};
    if (body && active) {
        CollisionPass();
        if (playerNum == 0) {
            KeyboardPass(*body, force);
        }
        GamepadPass(*body, force);
        body->AddForce(force);
        Turn(*owner, body->GetVelocity().x / kRollDivisor);
        ApplySpeedCap(*body);
    }
    if (body) {
        FallCheck();
    }
}

void PlayerControlComponent::MakeFace() {
    if (face || faceTried) {
        return;
    }
    // One attempt: without a "Face" archetype the character plays faceless rather than piling
    // depth onto itself every frame.
    faceTried = true;
    if (Object* archetype = ArchetypeTable().Get("Face")) {
        face = archetype->Clone();
    }
    Transform2D& t = owner->GetTransform();
    t.SetZLayer(t.GetZLayer() + kFaceDepth);
}

void PlayerControlComponent::WinSpin(RigidBody2D* body, float dt) {
    Turn(*owner, kSpinStep);
    if (body) {
        body->SetVelocity({0.0f, 0.0f});
    }
    owner->GetTransform().SetScale(Shrink(owner->GetTransform().GetScale(), dt));
    if (face) {
        Turn(*face, kSpinStep);
        face->GetTransform().SetScale(Shrink(face->GetTransform().GetScale(), dt));
    }
    spinTimer += dt;
    // Once the stars are being given back the ending decides, however long they take; the spin's
    // own time only ends a win that never went through the catapult.
    const auto* ending = owner->Get<EndOfGame>("EndOfGame");
    const bool moveOn = ending && ending->Started() ? EndingWatched(*ending) : spinTimer > spinTime;
    if (moveOn) {
        MoveOn(LevelManager::GetCurrentLevel() + 1);
    }
}

bool PlayerControlComponent::EndingWatched(const EndOfGame& ending) const {
    // Hurried stars lead straight to the tally once out of sight; otherwise any key or button
    // moves on, and after a while the game moves on by itself.
    if (!ending.AllRisen()) {
        return false;
    }
    using namespace InputSystem;
    return ending.hurried || ending.SecondsSinceAllRisen() > kEndingLinger || AnyKeyTriggered() ||
           PadButtonTriggered(playerNum, 0xFFFF) || MouseLeftTriggered();
}

void PlayerControlComponent::CollisionPass() {
    bool onGround = false;
    bool leftSomething = false;
    gameplay::ForEachContact(owner, [&](CollisionKind kind, const Object& other) {
        if (kind == CollisionKind::Began || kind == CollisionKind::Continues) {
            if (!jumpLocked && SideOf(*owner, other) == kBelow && IsJumpGround(other.GetName())) {
                canJump = true;
                onGround = true;
            }
            if (!other.HasComponent("CannonComponent")) {
                inCannon = false;
            }
        } else if (kind == CollisionKind::Ended && !jumpLocked && isFull) {
            leftSomething = true;
        }
    });
    // The half form keeps its jump when it rolls off an edge; the full form loses it, but only
    // when nothing is left under it: rolling from one tile onto the next begins the new contact
    // and ends the old one in the same frame, and that must not eat a jump pressed on the seam.
    if (leftSomething && !onGround) {
        canJump = false;
    }
    jumpLocked = false;
}

void PlayerControlComponent::KeyboardPass(RigidBody2D& body, Vector2D& force) {
    using Bindings::Action, Bindings::ActionTriggered, Bindings::KeysDown, Bindings::KeysTriggered;
    if (KeysTriggered(Action::SwitchForm)) {
        SwitchFormByKeyboard();
    }
    if (KeysDown(Action::MoveRight)) {
        DriveRight(body, force, 20.0f, 100.0f);
    }
    if (KeysTriggered(Action::Jump) && canJump) {
        Jump(body);
    }
    if (KeysDown(Action::MoveLeft)) {
        DriveLeft(body, force, 20.0f, 100.0f);
    }
    if (KeysDown(Action::Down)) {
        force.y = -0.5f * (isFull ? hSpeed : lSpeed);
    }
    // The level skips are debug keys (input/debug_keys.h), read in their place among the rows.
    const std::int32_t level = LevelManager::GetCurrentLevel();
    if (gameplay::DebugCommandSent(DebugCommand::NextLevel)) {
        MoveOn(level + 1);
    }
    if (gameplay::DebugCommandSent(DebugCommand::PreviousLevel)) {
        MoveOn(level - 1);
    }
    if (ActionTriggered(Action::RestartLevel)) {
        RestoreStars();
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kRestart);
    }
    if (gameplay::DebugCommandSent(DebugCommand::EndLevel) && level != kEndLevel) {
        MoveOn(kEndLevel);
    }
    // Restart and the mute switches answer the first pad too when the player binds them a button.
    // Each press flips its switch, which stays as it is until the next press (the progress
    // file keeps it); the menus show a notice as it flips.
    if (ActionTriggered(Action::SoundMute)) {
        MessagingSystem::Send<ToggleMute2Message>(true);
    }
    if (ActionTriggered(Action::MusicMute)) {
        MessagingSystem::Send<ToggleMute1Message>(true);
    }
    if (InputSystem::KeyTriggered('L')) {
        MessagingSystem::Send<RestartSoundsMessage>();
    }
}

void PlayerControlComponent::GamepadPass(RigidBody2D& body, Vector2D& force) {
    using Bindings::Action, Bindings::PadDown, Bindings::PadTriggered;
    const float stick = InputSystem::LeftStickX(playerNum);
    if (stick > kStickThreshold || PadDown(Action::MoveRight, playerNum)) {
        DriveRight(body, force, 10.0f, 50.0f);
    }
    if (stick < -kStickThreshold || PadDown(Action::MoveLeft, playerNum)) {
        DriveLeft(body, force, 10.0f, 50.0f);
    }
    if (PadTriggered(Action::SwitchForm, playerNum)) {
        SwitchFormByGamepad();
    }
    if (PadTriggered(Action::Jump, playerNum) && canJump) {
        Jump(body);
    }
    // No pad button presses down unless the player binds one.
    if (PadDown(Action::Down, playerNum)) {
        force.y = -0.5f * (isFull ? hSpeed : lSpeed);
    }
}

void PlayerControlComponent::DriveRight(RigidBody2D& body, Vector2D& force, float threshold,
                                        float kick) {
    Vector2D v = body.GetVelocity();
    if (isFull) {
        force.x = hSpeed;
    } else {
        force.x = v.x < 0.0f ? kTurnAroundFactor * lSpeed : lSpeed;
        if (v.x >= 0.0f && v.x < threshold) {
            v.x = kick;
            body.SetVelocity(v);
        }
    }
    // The sprite faces right with a negative x scale.
    Vector2D scale = owner->GetTransform().GetScale();
    if (scale.x > 0.0f) {
        scale.x = -scale.x;
        owner->GetTransform().SetScale(scale);
    }
}

void PlayerControlComponent::DriveLeft(RigidBody2D& body, Vector2D& force, float threshold,
                                       float kick) {
    Vector2D v = body.GetVelocity();
    if (isFull) {
        force.x = -hSpeed;
    } else {
        force.x = v.x > 0.0f ? -kTurnAroundFactor * lSpeed : -lSpeed;
        if (v.x <= 0.0f && v.x > -threshold) {
            v.x = -kick;
            body.SetVelocity(v);
        }
    }
    Vector2D scale = owner->GetTransform().GetScale();
    if (scale.x < 0.0f) {
        scale.x = -scale.x;
        owner->GetTransform().SetScale(scale);
    }
}

void PlayerControlComponent::Jump(RigidBody2D& body) {
    if (isFull) {
        body.ApplyImpulse({0.0f, hjumpheight});
    } else {
        body.SetVelocity({body.GetVelocity().x, ljumpheight});
    }
    // The contact the jump starts from is still reported next frame; it must not hand the jump
    // straight back. The half form keeps a jump through the air, so without the lock it could
    // jump again at any height on the way up.
    jumpLocked = true;
    canJump = false;
    gameplay::PlaySound("SFX/Player_Jump_01");
}

void PlayerControlComponent::ApplySpeedCap(RigidBody2D& body) const {
    if (inCannon || isFull) {
        return;
    }
    Vector2D v = body.GetVelocity();
    if (v.x > lSpeed) {
        v.x = lSpeed;
    }
    if (v.x < -lSpeed) {
        v.x = -lSpeed;
    }
    body.SetVelocity(v);
}

void PlayerControlComponent::FallCheck() {
    const float y = owner->GetTransform().GetPosition().y;
    if (y < levelReset - kFallMargin) {
        InputSystem::StopRumble();
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kRestart);
    } else if (y < levelReset && !defeated) {
        defeated = true;
        active = false;
        gameplay::PlaySound("SFX/Player_Defeat");
    }
}

void PlayerControlComponent::TakeForm(bool full, RigidBody2D* body) {
    if (auto* texture = owner->Get<TextureComponent>("TextureComponent")) {
        texture->SetAnimation(full ? "VorlFull" : "VorlHalf");
    }
    if (body) {
        body->mass = full ? hWeight : lWeight;
    }
    if (face) {
        face->SetVisible(full);
    }
    isFull = full;
}

void PlayerControlComponent::SwitchFormByKeyboard() {
    auto* body = owner->Get<RigidBody2D>("RigidBody2D");
    if (!isFull) {
        TakeForm(true, body);
        if (body) {
            body->bounciness = 0.0f;
        }
        faceSynced = false;
        MessagingSystem::Send<PlayerFormChangedMessage>(true);
        jumpLocked = true;
        canJump = false;
    } else {
        TakeForm(false, body);
        owner->GetTransform().SetRotationDegrees(0);
        faceSynced = true;
        MessagingSystem::Send<PlayerFormChangedMessage>(false);
    }
}

void PlayerControlComponent::SwitchFormByGamepad() {
    auto* body = owner->Get<RigidBody2D>("RigidBody2D");
    if (!isFull) {
        TakeForm(true, body);
        if (body) {
            body->ApplyImpulsePolar(kPadSwitchImpulse, kPadSwitchAngle);
        }
        faceSynced = false;
    } else {
        TakeForm(false, body);
        faceSynced = true;
    }
    MessagingSystem::Send<PlayerFormChangedMessage>(isFull);
}
