#include "support/gameplay_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <sstream>

#include "core/messaging.h"
#include "engine/core.h"
#include "gameplay/player_control_component.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/scene_builder.h"
#include "support/scripted_services.h"
#include "ui/menu_screens.h"

namespace testing_support {

std::string PlayerLine(float x, float y) {
    std::ostringstream out;
    out << "Player1 " << x << ' ' << y << " 30 30\n"
        << "  PlayerControlComponent\n"
        << "  RigidBody2D mass 2.13 state 1 gravity 600.0 friction 10000\n"
        << "  BoxCollider2D\n"
        << "  TextureComponent filename \"VorlFull\"\n";
    return out.str();
}

namespace {

std::string Fixed(std::string_view placement, bool hollow, std::string_view components) {
    std::string text(placement);
    text += "\n  RigidBody2D mass 0.0 state 0\n  BoxCollider2D";
    text += hollow ? " mHollow true\n" : "\n";
    std::istringstream lines{std::string(components)};
    for (std::string line; std::getline(lines, line);) {
        text += "  " + line + "\n";
    }
    return text;
}

}  // namespace

std::string Solid(std::string_view placement, std::string_view components) {
    return Fixed(placement, false, components);
}

std::string Trigger(std::string_view placement, std::string_view components) {
    return Fixed(placement, true, components);
}

GameplayScene::~GameplayScene() {
    engine_.reset();
    for (const std::string& line : diagnostics_.Lines()) {
        ADD_FAILURE() << line;
    }
}

GameplayScene::GameplayScene(std::string_view scene, std::map<int, std::string> levels,
                             std::map<std::string, std::string> archetypes, int level,
                             SceneTiming timing, SceneSound sound) {
    if (sound.device) {
        assets_.Write("SoundBank", sound.bank);
        assets_.ShareFolder("Sounds", std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "Sounds");
    }
    archetypes.emplace("Face", "FaceComponent\n");
    // The menus a scene may open (pause, a question, the final screen) clone these by name.
    for (const auto& menu : {std::span<const MenuEntry>(MenuScreens::kPauseMenu),
                             std::span<const MenuEntry>(MenuScreens::kConfirmation),
                             std::span<const MenuEntry>(MenuScreens::kFinalScreen)}) {
        for (const MenuEntry& entry : menu) {
            archetypes.emplace(entry.archetype, "ChangeLevelButtonComponent\n");
        }
    }
    std::string list;
    for (const auto& [name, text] : archetypes) {
        list += name + "\n";
        assets_.Write(name, text);
    }
    assets_.Write("Objects", list);
    // Worlds of placeholders: one small picture listed, no animation.
    assets_.Write("TextureList", "Wall\n");
    std::filesystem::copy_file(std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "Wall.png",
                               assets_.Folder() / "Wall.png");
    assets_.Write("AnimationList", "");
    levels[level] = std::string(scene);
    for (const auto& [index, text] : levels) {
        assets_.Write(LevelManager::LevelTable()[static_cast<std::size_t>(index)],
                      SceneToLevelText(text));
    }
    ScriptedServices made = MakeScriptedServices(timing.clockFrame);
    if (sound.device) {
        made.services.audio = std::move(sound.device);
    }
    window_ = made.window;
    pads_ = made.pads;
    engine_ = std::make_unique<HeadlessEngine>(std::move(made.services), timing.step);
    LevelManager::SetStartLevel(level);
    LoadGameData(engine_->core());
    engine_->core().SetStepHooks({nullptr, [this] {
                                      LogMessages();
                                      if (watch_) {
                                          watch_();
                                      }
                                  }});
    const int ran = FramesUntil(10, [] { return !LevelObjects().empty(); });
    EXPECT_LT(ran, 10) << "the level never loaded";
    // One more frame: the systems take up the new components.
    Frames(1);
}

void GameplayScene::Frames(int count) {
    for (int i = 0; i < count; ++i) {
        ++frame_;
        engine_->RunFrames(1);
    }
}

void GameplayScene::LogMessages() {
    for (const auto& message : MessagingSystem::GetMessages()) {
        std::string what;
        if (const auto* sound = As<PlaySoundMessage>(*message)) {
            what = "PlaySound " + sound->event;
        } else if (const auto* change = As<ChangeLevelMessage>(*message)) {
            what = "ChangeLevel " + std::to_string(change->target);
        } else if (const auto* form = As<PlayerFormChangedMessage>(*message)) {
            what = std::string("PlayerFormChanged ") + (form->isFull ? "1" : "0");
        } else if (message->type == MessageType::StarfallStarted) {
            what = "StarfallStarted";
        } else if (const auto* started = As<LevelStartedMessage>(*message)) {
            what = "LevelStarted " + started->levelName;
        }
        if (!what.empty()) {
            log_.push_back({frame_, what});
        }
    }
}

int GameplayScene::FramesUntil(int limit, const std::function<bool()>& done) {
    for (int i = 1; i <= limit; ++i) {
        Frames(1);
        if (done()) {
            return i;
        }
    }
    return limit;
}

void GameplayScene::Tap(int key) {
    Press(key);
    Frames(1);
    Release(key);
    // A press counts as new only two frames after the last release.
    Frames(2);
}

void GameplayScene::Click(platform::MouseButton button) {
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(button, true, 5, 5); });
    Frames(1);
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(button, false, 5, 5); });
}

platform::ControllerState& GameplayScene::Pad() {
    if (!pads_->pads[0]) {
        pads_->pads[0] = platform::ControllerState{};
        // The input system finds a newly plugged pad at its next probe, a tenth of a second on.
        Frames(7);
    }
    return *pads_->pads[0];
}

Object* GameplayScene::Find(std::string_view name) const {
    return FindLevelObject(name);
}

Vector2D GameplayScene::At(std::string_view name) const {
    return Find(name)->GetTransform().GetPosition();
}

PlayerControlComponent& GameplayScene::Player() const {
    return *Find("Player1")->Get<PlayerControlComponent>("PlayerControlComponent");
}

RigidBody2D& GameplayScene::PlayerBody() const {
    return *Find("Player1")->Get<RigidBody2D>("RigidBody2D");
}

int GameplayScene::Count(std::string_view what) const {
    return static_cast<int>(std::ranges::count(log_, what, &Heard::what));
}

int GameplayScene::FirstFrame(std::string_view what) const {
    const auto heard = std::ranges::find(log_, what, &Heard::what);
    return heard == log_.end() ? -1 : heard->frame;
}

}  // namespace testing_support
