// A display for frame-pacing tests and benchmarks, in simulated time: presents land on a grid of
// refreshes, as with vertical sync. Each drawn frame's work takes `work` seconds of the display's
// clock; a present then waits for the first refresh after it (a machine whose work outlasts a
// refresh misses it and is shown a whole refresh later) and returns a little after it, by a
// pseudo-random delay below `wake`, as a real one does. The window reports `reportedRate`, which
// may differ slightly from the true rate (59.94 Hz read as 60).
//
// PacedLevel plays a level on it (the scene text of support/scene_builder.h, without the test
// framework, so that benchmarks use it too) and records, for every displayed frame, where the
// glider and the player were drawn.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/vector.h"
#include "platform/graphics_device.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"
#include "support/scripted_window.h"

namespace testing_support {

struct VblankTiming {
    double refreshRate = 60.0;
    double work = 0.004;
    double wake = 0.0003;
    double reportedRate = 60.0;
};

struct DrawnFrame {
    // The display's time when the frame started, and when its present returned.
    double start = 0.0;
    double shown = 0.0;
    // Where the glider and the player were drawn, before the floor to whole pixels that the
    // screen's pixels add to any motion.
    Vector2D glider;
    Vector2D player;
};

class PacedLevel {
public:
    PacedLevel(std::string_view scene, const VblankTiming& timing);
    ~PacedLevel();
    PacedLevel(const PacedLevel&) = delete;
    PacedLevel& operator=(const PacedLevel&) = delete;

    // One displayed frame: the steps it owes, the picture, the present.
    void Frame();
    // The key is pressed (or released) now, between frames: the next step's pump delivers it.
    void Key(int virtualKey, bool pressed) { window_->QueueKey(virtualKey, pressed); }
    double Now() const;

    Core& core() { return engine_->core(); }
    const std::vector<DrawnFrame>& Frames() const { return frames_; }

    // The simulated display the clock and the drawing device share.
    class Display;

private:
    TempAssets assets_;
    std::shared_ptr<Display> display_;
    ScriptedWindow* window_ = nullptr;
    std::unique_ptr<HeadlessEngine> engine_;
    std::vector<DrawnFrame> frames_;
};

// The level the pacing is measured on: a floor, the player ("Player1") resting on it and a body
// ("Glider") gliding across the screen at kGlideSpeed, untouched by anything.
inline constexpr float kGlideSpeed = 240.0f;
std::string PacingScene();

// How even the glider's motion is over `frames`: the largest departure of one frame's travel from
// the mean travel, as a share of the mean.
double TravelDeviation(const std::vector<DrawnFrame>& frames);

}  // namespace testing_support
