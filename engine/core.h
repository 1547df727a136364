// Core: owns the engine's systems and runs the game one drawn frame at a time, on one thread.
//
// A drawn frame (Update) runs as many fixed simulation steps as the clock owes (none, one or
// several; see FrameRateController), then draws the latest state, then waits out the cap. A step
// is everything that makes the game: the message swap (a message sent in one step is read in the
// next), reclamation of unreachable storage, input (the window's events, keys, pads, a recording's
// next record), the eight table systems, the F3/F4 random-input keys, the level sequencer, and the
// graphics system's reading of its messages and keys. Drawing is the only work of the frame
// itself, so the same input gives the same game whatever the drawing costs.
//
// The table systems run in the frame order written once in the constructor: "WindowSystem",
// "LevelEditor", "AudioSystem", "DebugSystem", "ObjectSystem", "PhysicsSystem", "UISystem",
// "GameLogicSystem"; the graphics system is kept apart and always runs last. The window's events
// are pumped in the step, by the window system after the input update, because key edges are
// counted in steps: a press pumped in a frame that runs no step would be taken for a held key by
// the next step.
//
// Core is the composition root: it sits above every system it assembles, so tools and tests build
// the same game the executable runs. Only one Core exists at a time; it owns the platform
// services it was given.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/main_loop.h"
#include "platform/services.h"

class System;
class GraphicsSystem;

class Core {
public:
    explicit Core(platform::Services services);
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;
    ~Core();

    // One drawn frame: the steps it owes, then the picture.
    void Update();
    void Shutdown();

    // Run around every simulation step, for tools and tests that drive or watch the game step by
    // step (a recording fed to a pad, the messages each step reads).
    struct StepHooks {
        std::function<void()> before;
        std::function<void()> after;
    };
    void SetStepHooks(StepHooks hooks) { stepHooks_ = std::move(hooks); }

    // A table system and the name its profile entry is recorded under.
    struct Slot {
        std::string name;
        std::unique_ptr<System> system;
    };

    // The system called `name`, or null; a miss adds nothing.
    System* GetSystem(std::string_view name) const;
    template <class T>
    T* Get(std::string_view name) const {
        return dynamic_cast<T*>(GetSystem(name));
    }
    GraphicsSystem& Graphics() { return *graphics_; }
    // The table systems in frame order.
    std::span<const Slot> Systems() const { return systems_; }
    platform::Services& Services() { return services_; }

private:
    void Step();

    platform::Services services_;
    std::vector<Slot> systems_;
    std::unique_ptr<GraphicsSystem> graphics_;
    StepHooks stepHooks_;
    bool shutDown_ = false;
};

// Start-up as the game runs it: the warm-up frame, then the data lists and archetypes; the caller
// then runs frames while isRunning.
void LoadGameData(Core& core);
