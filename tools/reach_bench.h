// The reach tool's bench: a headless world with a long floor of "Crate" tiles, the player cloned
// from its archetype onto it, and a window that presses the keys the measurement asks for. One
// bench frame is one step of the game at its own rate.
#pragma once

#include <cmath>
#include <deque>
#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "engine/core.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "objects/game_logic_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "platform/window.h"

namespace reach {

// A frame of the bench is one step of the game: the clock's frame is the step.
using FrameRateController::kGameFrameTime;
constexpr int kFramesPerSecond = 63;
constexpr float kFloorTop = 0.0f;
constexpr float kTileHalfWidth = 100.0f;
constexpr float kTileHalfHeight = 20.0f;
// Levels give the player its size; an archetype without one is measured at this scale.
constexpr Vector2D kLevelPlayerScale{30.0f, 30.0f};

// A window whose only events are the keys the measurement presses, delivered at the next pump so
// that a press counts as new for that frame's systems.
class KeyScript : public platform::Window {
public:
    void Press(int key) { queued_.push_back({key, true}); }
    void Release(int key) { queued_.push_back({key, false}); }
    void PumpEvents(platform::WindowEvents& events) override {
        for (const auto& [key, pressed] : queued_) {
            events.OnKey(key, pressed, false);
        }
        queued_.clear();
    }
    bool IsHidden() const override { return false; }

private:
    std::deque<std::pair<int, bool>> queued_;
};

inline std::string Tile(float x) {
    std::ostringstream out;
    out << "Crate\n{\nTransform2D " << x << ' ' << kFloorTop - kTileHalfHeight << " 0 "
        << kTileHalfWidth << ' ' << kTileHalfHeight << " 0\n"
        << "RigidBody2D mass 0.0 state 0\nBoxCollider2D mHollow false\n}\n";
    return out.str();
}

class Bench {
public:
    Bench(Core& core, KeyScript& keys, const Object& player)
        : core_(core), keys_(keys), archetype_(player) {}

    // A fresh level: the floor from x = -2000 to 60000 (or, with a `gap` of 0 or more, a floor
    // ending at x = 0 and another starting at x = gap), `extra` level text, the player resting at
    // x = `startX` in the chosen form. Returns the player.
    Object* Start(bool full, const std::string& extra = "", float dropHeight = 0.0f,
                  float startX = 0.0f, float gap = -1.0f) {
        for (int key : {VirtualKey::Right, VirtualKey::Left, VirtualKey::Up}) {
            keys_.Release(key);
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
    KeyScript& Keys() { return keys_; }

private:
    Core& core_;
    KeyScript& keys_;
    const Object& archetype_;
    Object* player_ = nullptr;
    float rest_ = 0.0f;
};

}  // namespace reach
