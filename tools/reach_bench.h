// The reach tool's bench: a headless world with a long floor of "Crate" tiles, the player cloned
// from its archetype onto it, and the tests' scripted window pressing the keys the measurement
// asks for. One bench frame is one step of the game at its own rate.
#pragma once

#include <cmath>
#include <functional>
#include <sstream>
#include <string>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "engine/core.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "objects/game_logic_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/scripted_window.h"

namespace reach {

// A frame of the bench is one step of the game: the clock's frame is the step.
using FrameRateController::kGameFrameTime;
constexpr int kFramesPerSecond = 63;
constexpr float kFloorTop = 0.0f;
constexpr float kTileHalfWidth = 100.0f;
constexpr float kTileHalfHeight = 20.0f;
// Levels give the player its size; an archetype without one is measured at this scale.
constexpr Vector2D kLevelPlayerScale{30.0f, 30.0f};

inline std::string Tile(float x) {
    std::ostringstream out;
    out << "Crate\n{\nTransform2D " << x << ' ' << kFloorTop - kTileHalfHeight << " 0 "
        << kTileHalfWidth << ' ' << kTileHalfHeight << " 0\n"
        << "RigidBody2D mass 0.0 state 0\nBoxCollider2D mHollow false\n}\n";
    return out.str();
}

class Bench {
public:
    Bench(Core& core, testing_support::ScriptedWindow& keys, const Object& player)
        : core_(core), keys_(keys), archetype_(player) {}

    // A fresh level: the floor from x = -2000 to 60000 (or, with a `gap` of 0 or more, a floor
    // ending at x = 0 and another starting at x = gap), `extra` level text, the player resting at
    // x = `startX` in the chosen form. Returns the player.
    Object* Start(bool full, const std::string& extra = "", float dropHeight = 0.0f,
                  float startX = 0.0f, float gap = -1.0f) {
        for (int key : {VirtualKey::Right, VirtualKey::Left, VirtualKey::Up}) {
            Release(key);
        }
        DestroyAllLevelObjects();
        Frames(2);
        std::string text;
        if (gap < 0.0f) {
            for (float x = -2000.0f; x <= 60000.0f; x += 2.0f * kTileHalfWidth) {
                text += Tile(x);
            }
        } else {
            for (float x = -kTileHalfWidth; x > -4000.0f; x -= 2.0f * kTileHalfWidth) {
                text += Tile(x);
            }
            for (float x = gap + kTileHalfWidth; x < gap + 4000.0f; x += 2.0f * kTileHalfWidth) {
                text += Tile(x);
            }
        }
        text += extra;
        std::istringstream in(text);
        ReadLevelObjects(in, "reach bench");
        player_ = archetype_.Clone();
        player_->SetName("Player1");
        player_->SetVisible(true);
        if (player_->GetTransform().GetScale() == Vector2D{0.0f, 0.0f}) {
            player_->GetTransform().SetScale(kLevelPlayerScale);
        }
        rest_ = kFloorTop + std::fabs(player_->GetTransform().GetScale().y);
        player_->GetTransform().SetPosition({startX, rest_ + dropHeight});
        MessagingSystem::Send<LevelObjectsLoadedMessage>();
        core_.Get<GameLogicSystem>("GameLogicSystem")->update = true;
        Frames(2);
        if (!full) {
            Player().SwitchFormByKeyboard();
        }
        Frames(kFramesPerSecond);
        rest_ = Y();
        return player_;
    }

    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            core_.Update();
        }
    }
    // Runs until `done` or `limit` frames.
    void Until(int limit, const std::function<bool()>& done) {
        for (int i = 0; i < limit && !done(); ++i) {
            Frames(1);
        }
    }

    PlayerControlComponent& Player() const {
        return *player_->Get<PlayerControlComponent>("PlayerControlComponent");
    }
    RigidBody2D& Body() const { return *player_->Get<RigidBody2D>("RigidBody2D"); }
    float X() const { return player_->GetTransform().GetPosition().x; }
    float Y() const { return player_->GetTransform().GetPosition().y; }
    float Rest() const { return rest_; }
    // The player's half width, as Start() sizes it.
    float HalfWidth() const {
        const Vector2D scale = archetype_.GetTransform().GetScale();
        return std::fabs(scale == Vector2D{0.0f, 0.0f} ? kLevelPlayerScale.x : scale.x);
    }
    // A contact of the player with the floor (right of `fromX`) was reported this frame. (Its
    // height says little: the player's box turns as it rolls.)
    bool TouchesFloor(float fromX = -1.0e9f) const {
        bool touches = false;
        gameplay::ForEachContact(player_, [&](CollisionKind kind, const Object& other) {
            touches = touches || (other.GetName() == "Crate" && kind != CollisionKind::Ended &&
                                  other.GetTransform().GetPosition().x > fromX);
        });
        return touches;
    }
    // A key goes down or up at the next frame's pump, so that it counts as new in that frame.
    void Press(int key) { keys_.QueueKey(key, true); }
    void Release(int key) { keys_.QueueKey(key, false); }

private:
    Core& core_;
    testing_support::ScriptedWindow& keys_;
    const Object& archetype_;
    Object* player_ = nullptr;
    float rest_ = 0.0f;
};

}  // namespace reach
