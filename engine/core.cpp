#include "engine/core.h"

#include "audio/audio_system.h"
#include "core/debug_system.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "editor/level_editor.h"
#include "graphics/graphics_system.h"
#include "graphics/texture_lists.h"
#include "input/input_system.h"
#include "input/object_selection.h"
#include "input/window_system.h"
#include "levels/data_reader.h"
#include "objects/game_logic_system.h"
#include "objects/graveyard.h"
#include "objects/level_manager.h"
#include "objects/object_system.h"
#include "physics/physics_system.h"
#include "ui/ui_system.h"

Core::Core(platform::Services services) : services_(std::move(services)) {
    if (!services_.panels) {
        services_.panels = platform::MakeHeadlessPanels();
    }
    FrameRateController::UseClock(std::move(services_.clock));
    // Built in the order their start-ups expect (input before the objects' selection, the
    // renderer before the editor), then filed in frame order below.
    auto window = std::make_unique<WindowSystem>(*services_.window);
    auto audio = std::make_unique<AudioSystem>(*services_.audio);
    auto debug = std::make_unique<DebugSystem>();
    auto physics = std::make_unique<PhysicsSystem>();
    auto logic = std::make_unique<GameLogicSystem>();
    auto ui = std::make_unique<UISystem>();
    InputSystem::InputInitialize();
    InputSystem::UseGamepads(services_.gamepads.get());
    // Every level start stops the rumble; the recording switch turns "back to the first level"
    // into a quit, so that a recording session ends after the last level.
    LevelManager::GetHooks().stopRumble = &InputSystem::StopRumble;
    LevelManager::GetHooks().recordInput = &InputSystem::IsRecordInputOn;
    LevelManager::GetHooks().loadLevel = &LoadLevel;
    auto objects = std::make_unique<ObjectSystem>();
    objects->selectionInput = MouseSelectionInput();
    graphics_ = std::make_unique<GraphicsSystem>(*services_.graphics, *services_.window);
    auto editor = std::make_unique<LevelEditor>(*services_.panels);

    // The frame order: the one place it is written.
    systems_.push_back({"WindowSystem", std::move(window)});
    systems_.push_back({"LevelEditor", std::move(editor)});
    systems_.push_back({"AudioSystem", std::move(audio)});
    systems_.push_back({"DebugSystem", std::move(debug)});
    systems_.push_back({"ObjectSystem", std::move(objects)});
    systems_.push_back({"PhysicsSystem", std::move(physics)});
    systems_.push_back({"UISystem", std::move(ui)});
    systems_.push_back({"GameLogicSystem", std::move(logic)});

    // The editor's panel sees window events before the game and draws over the game's views.
    services_.window->SetPanelEvents(services_.panels->Events());
    graphics_->SetOverlayDrawer([panels = services_.panels.get()] { panels->Draw(); });

    MessagingSystem::Send<PlaySoundMessage>("Music/In_Game_Music_01");
    MessagingSystem::Send<PlaySoundMessage>("Music/Start_Menu_Music");
    MessagingSystem::Send<PauseSoundMessage>("Music/Start_Menu_Music");
}

Core::~Core() {
    Shutdown();
    services_.window->SetPanelEvents(nullptr);
    // Freed in frame order, then the renderer.
    for (Slot& slot : systems_) {
        slot.system.reset();
    }
    systems_.clear();
    graphics_.reset();
    // No system runs again: whatever waits for a pass of theirs can go now.
    Graveyard::FreeAll();
}

System* Core::GetSystem(std::string_view name) const {
    for (const Slot& slot : systems_) {
        if (slot.name == name) {
            return slot.system.get();
        }
    }
    return nullptr;
}

void Core::Update() {
    // The window may have switched vertical sync since the last frame (the options page does).
    const platform::DisplayPacing pacing = services_.window->Pacing();
    FrameRateController::UsePacing(pacing.sync != platform::DisplayPacing::Sync::Off,
                                   pacing.refreshRate);
    FrameRateController::StartFrame();
    FrameRateController::Record("StartFrame", FrameRateController::MarkFrameStart());
    // A quit ends the steps but not the frame: it is still drawn.
    for (int step = FrameRateController::StepsDue(); step > 0 && isRunning; --step) {
        Step();
    }
    graphics_->Draw();
    FrameRateController::EndFrame();
}

void Core::Step() {
    if (stepHooks_.before) {
        stepHooks_.before();
    }
    FrameRateController::Lap();  // what ran between steps is nobody's share
    MessagingSystem::Update();
    Graveyard::Collect();
    FrameRateController::Record("MessagingSystem", FrameRateController::Lap());

    InputSystem::Update();
    FrameRateController::Record("InputSystem", FrameRateController::Lap());

    for (Slot& slot : systems_) {
        slot.system->Update();
        FrameRateController::Record(slot.name, FrameRateController::Lap());
    }

    LevelManager::Update();
    graphics_->Update();
    if (stepHooks_.after) {
        stepHooks_.after();
    }
}

void Core::Shutdown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    for (Slot& slot : systems_) {
        slot.system->Shutdown();
    }
    InputSystem::InputShutdown();
}

void LoadGameData(Core& core) {
    // The window and renderer get one frame before any data exists, so every system must cope
    // with empty tables.
    core.Update();
    // Textures before animations (an animation resolves its sheet by name), animations before
    // archetypes (an archetype's texture component resolves its animation).
    LoadTextureList("TextureList");
    LoadAnimationList("AnimationList");
    LoadArchetypes();
}
