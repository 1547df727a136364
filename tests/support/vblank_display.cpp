#include "support/vblank_display.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "graphics/graphics_system.h"
#include "graphics/recording_device.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "platform/services.h"
#include "support/scene_builder.h"
#include "support/scripted_services.h"

namespace testing_support {

class PacedLevel::Display {
public:
    explicit Display(const VblankTiming& timing) : timing_(timing) {}

    double now = 0.0;
    DrawnFrame frame;
    std::vector<DrawnFrame>* frames = nullptr;

    // The first refresh after the work, and the present's own delay past it.
    void Present() {
        now += timing_.work;
        const double period = 1.0 / timing_.refreshRate;
        now = (std::floor(now / period) + 1.0) * period + timing_.wake * NextUnit();
        frame.shown = now;
        frames->push_back(std::move(frame));
        frame = {};
    }

private:
    // A fixed sequence, so that every run sees the same delays.
    double NextUnit() {
        seed_ = seed_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed_ >> 11) / static_cast<double>(1ull << 53);
    }

    VblankTiming timing_;
    std::uint64_t seed_ = 38;
};

namespace {

class DisplayClock : public timing::Clock {
public:
    explicit DisplayClock(std::shared_ptr<PacedLevel::Display> display)
        : display_(std::move(display)) {}
    double Now() override { return display_->now; }
    void WaitPast(double deadline) override {
        display_->now = std::max(display_->now, deadline + 1e-6);
    }

private:
    std::shared_ptr<PacedLevel::Display> display_;
};

// Draws nothing; only its frames' start and present reach the display.
class DisplayDevice : public RecordingDevice {
public:
    explicit DisplayDevice(std::shared_ptr<PacedLevel::Display> display)
        : display_(std::move(display)) {}
    void BeginFrame() override {
        display_->frame.start = display_->now;
        RecordingDevice::BeginFrame();
    }
    void Present() override { display_->Present(); }

private:
    std::shared_ptr<PacedLevel::Display> display_;
};

constexpr int kLevel = 2;

}  // namespace

std::string PacingScene() {
    // The floor is named as a crate, so that the player can jump from it.
    return R"(Crate 0 0 4000 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D
Glider -1400 400 20 20
  RigidBody2D mass 1.0 state 1 gravity 0.0 friction 1000000000 velocity )" +
           std::to_string(kGlideSpeed) + R"( 0.0
  BoxCollider2D
  ColoredSquareComponent
Player1 0 50 30 30
  PlayerControlComponent
  RigidBody2D mass 2.13 state 1 gravity 600.0 friction 10000
  BoxCollider2D
  ColoredSquareComponent
)";
}

PacedLevel::PacedLevel(std::string_view scene, const VblankTiming& timing)
    : display_(std::make_shared<Display>(timing)) {
    display_->frames = &frames_;
    assets_.Write("Face", "FaceComponent\n");
    assets_.Write("Objects", "Face\n");
    assets_.Write("TextureList", "");
    assets_.Write("AnimationList", "");
    assets_.Write(LevelManager::LevelTable()[kLevel], SceneToLevelText(scene));

    ScriptedServices made = MakeScriptedServices();
    made.services.clock = std::make_unique<DisplayClock>(display_);
    made.services.graphics = std::make_unique<DisplayDevice>(display_);
    window_ = made.window;
    window_->pacing = {platform::DisplayPacing::Sync::Vertical, timing.reportedRate};
    engine_ = std::make_unique<HeadlessEngine>(std::move(made.services), 1.0 / 63.0);
    LevelManager::SetStartLevel(kLevel);
    LoadGameData(engine_->core());
    for (int i = 0; i < 20 && LevelObjects().empty(); ++i) {
        Frame();
    }
    // One more frame: the systems take up the new components.
    Frame();
    frames_.clear();
}

PacedLevel::~PacedLevel() = default;

void PacedLevel::Frame() {
    engine_->RunFrames(1);
    if (frames_.empty()) {
        return;
    }
    const GraphicsSystem& graphics = engine_->core().Graphics();
    if (const Object* glider = FindLevelObject("Glider")) {
        frames_.back().glider = graphics.DrawnPose(*glider).position;
    }
    if (const Object* player = FindLevelObject("Player1")) {
        frames_.back().player = graphics.DrawnPose(*player).position;
    }
}

double PacedLevel::Now() const {
    return display_->now;
}

double TravelDeviation(const std::vector<DrawnFrame>& frames) {
    std::vector<float> travel;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        travel.push_back((frames[i].glider - frames[i - 1].glider).Length());
    }
    if (travel.empty()) {
        return 0.0;
    }
    const double mean =
        std::accumulate(travel.begin(), travel.end(), 0.0) / static_cast<double>(travel.size());
    double worst = 0.0;
    for (float t : travel) {
        worst = std::max(worst, std::fabs(t - mean));
    }
    return mean > 0.0 ? worst / mean : 0.0;
}

}  // namespace testing_support
