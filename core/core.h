// Core: owns the engine's systems and runs one frame at a time, on one thread.
//
// The eight table systems run in a fixed order: "WindowSystem", "LevelEditor", "AudioSystem",
// "DebugSystem", "ObjectSystem", "PhysicsSystem", "UISystem", "GameLogicSystem" (the iteration
// order of the name table they are filed in); the graphics system is kept apart and always runs
// last. A frame: frame start, message swap, reclamation of unreachable storage, input, the table
// systems, the F3/F4 random-input keys, the level sequencer, graphics, frame end with the cap.
//
// Only one Core exists at a time; it owns the platform services it was given.
#pragma once

#include <memory>
#include <string>

#include "core/main_loop.h"
#include "core/name_table.h"
#include "platform/services.h"

class System;
class GraphicsSystem;

class Core {
public:
    explicit Core(platform::Services services);
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;
    ~Core();

    void Update();
    void Shutdown();

    // The system filed under `name`; a missing name is filed with a null entry.
    System* GetSystem(const std::string& name);
    template <class T>
    T* Get(const std::string& name) {
        return dynamic_cast<T*>(GetSystem(name));
    }
    GraphicsSystem& Graphics() { return *graphics_; }
    const NameTable<System*>& Systems() const { return systems; }
    platform::Services& Services() { return services_; }

private:
    void Register(const std::string& name, System* system);

    platform::Services services_;
    NameTable<System*> systems;
    std::unique_ptr<GraphicsSystem> graphics_;
    bool shutDown_ = false;
};

// Start-up as the game runs it: the warm-up frame, then the data lists and archetypes; the caller
// then runs frames while isRunning.
void LoadGameData(Core& core);
