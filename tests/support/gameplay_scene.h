// A level played the way the game plays it, for gameplay tests: the scene text (scene_builder.h
// syntax) becomes a level file in a temporary assets folder, the engine loads the data and starts
// that level through the level sequence, so a restart or a win really reloads or moves on. Keys
// and gamepad 0 are scripted per frame, and every message the game sends is logged with the frame
// that read it.
//
// Archetypes: "Face" (the player's face) is always there; more can be given as name and file text.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/vector.h"
#include "platform/audio_device.h"
#include "platform/gamepad.h"
#include "platform/window.h"
#include "support/asset_folder.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_window.h"

class Object;
class RigidBody2D;
class PlayerControlComponent;

namespace testing_support {

// A player for scenes: "Player1" with the feel of the game's own player.
std::string PlayerLine(float x, float y);
// A piece that never moves, "name x y w h [degrees]", with `components` (one a line) after its
// body; a trigger's body is hollow, so the player passes into it.
std::string Solid(std::string_view placement, std::string_view components = "");
std::string Trigger(std::string_view placement, std::string_view components = "");

// How time passes: drawn frames of `clockFrame` seconds, simulation steps of `step`. The default
// makes every frame one step of the 1/60 s the worked figures use.
struct SceneTiming {
    double clockFrame = 1.0 / 60.0;
    double step = 1.0 / 60.0;
};

// Sound for a scene: it plays on `device` with `bank` as its event bank, over the game's own sound
// files. Without a device the scene is silent.
struct SceneSound {
    std::unique_ptr<platform::AudioDevice> device;
    std::string bank;
};

class GameplayScene {
public:
    // Starts `level` (a level index) with the objects of `scene`; `levels` may give other levels'
    // scenes by index. Runs until the level's objects are live.
    explicit GameplayScene(std::string_view scene, std::map<int, std::string> levels = {},
                           std::map<std::string, std::string> archetypes = {}, int level = 2,
                           SceneTiming timing = {}, SceneSound sound = {});
    GameplayScene(std::string_view scene, SceneTiming timing)
        : GameplayScene(scene, {}, {}, 2, timing) {}
    // A data diagnostic met while the scene ran fails the test.
    ~GameplayScene();
    GameplayScene(const GameplayScene&) = delete;
    GameplayScene& operator=(const GameplayScene&) = delete;

    // Drawn frames; each runs the steps its clock time owes.
    void Frames(int count = 1);
    // Runs frames until `done` holds (checked after each) or `limit` frames; the frames run.
    int FramesUntil(int limit, const std::function<bool()>& done);

    // Held keys are pressed during the next frame's pump and stay down until released.
    void Press(int key) { window_->QueueKey(key, true); }
    void Release(int key) { window_->QueueKey(key, false); }
    // Presses and releases `key` over the next three frames.
    void Tap(int key);
    // A click of `button` during the next frame's pump (released the frame after).
    void Click(platform::MouseButton button);
    // Gamepad 0, plugged in; changes reach the game at the next frame.
    platform::ControllerState& Pad();

    Object* Find(std::string_view name) const;
    // Where the object `name` stands now.
    Vector2D At(std::string_view name = "Player1") const;
    PlayerControlComponent& Player() const;
    RigidBody2D& PlayerBody() const;

    // Called after every simulation step from now on, for what must be seen step by step.
    void EachStep(std::function<void()> watch) { watch_ = std::move(watch); }

    // "PlaySound <event>", "ChangeLevel <target>", "PlayerFormChanged <0|1>", "StarfallStarted",
    // "LevelStarted <name>" in reading order, each with the frame whose step read it.
    struct Heard {
        int frame;
        std::string what;
    };
    const std::vector<Heard>& Log() const { return log_; }
    // How many times `what` was heard; the frame of its first hearing (-1 if never).
    int Count(std::string_view what) const;
    int FirstFrame(std::string_view what) const;
    int frame() const { return frame_; }

    HeadlessEngine& engine() { return *engine_; }
    FakeGamepads& pads() { return *pads_; }

private:
    void LogMessages();

    TempAssets assets_;
    CapturedDiagnostics diagnostics_;
    ScriptedWindow* window_ = nullptr;
    FakeGamepads* pads_ = nullptr;
    std::unique_ptr<HeadlessEngine> engine_;
    std::vector<Heard> log_;
    std::function<void()> watch_;
    int frame_ = 0;
};

}  // namespace testing_support
