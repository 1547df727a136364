// kit_snapshot: draws one level with the real renderer and saves what the player would see, for
// the kit sheet and for checking art on screen. Needs a display with OpenGL 3.3 (run it under
// xvfb-run on a machine without one).
//
//   kit_snapshot <assets-folder> <level-name> <frames> <out-folder>
//
// Runs the game from start-up on a fixed 1/63 s step (the frame length under the frame cap),
// starts <level-name> once the archetypes are loaded, runs <frames> frames so that bodies settle
// and animations move, then writes <out-folder>/<level-name>.png (the whole back buffer) and
// <out-folder>/<object-name>.png for every drawn object: the screen rectangle its quad covers plus
// a margin. An object name used twice keeps its first picture. Exit status: 0, 1 when the window
// or the read-back fails, 2 for a usage error.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>

#include "core/clock.h"
#include "core/frame_rate_controller.h"
#include "engine/core.h"
#include "graphics/camera.h"
#include "graphics/graphics_system.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"
#include "platform/services.h"

namespace {

constexpr int kMargin = 12;

int Usage() {
    std::cerr << "usage: kit_snapshot <assets-folder> <level-name> <frames> <out-folder>\n";
    return 2;
}

// The part of `image` that shows the object's quad (its position +- |scale| in world units,
// +y up, seen by a camera at `camera` on a 1600 x 900 view), grown by the margin and clipped.
platform::Image Crop(const platform::Image& image, const Object& object, Vector2D camera) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D s = object.GetTransform().GetScale();
    const float sx = image.width / 1600.0f;
    const float sy = image.height / 900.0f;
    const int left = std::max(0, int((p.x - std::fabs(s.x) - camera.x + 800) * sx) - kMargin);
    const int right =
        std::min(image.width, int((p.x + std::fabs(s.x) - camera.x + 800) * sx) + kMargin);
    const int top = std::max(0, int((450 - (p.y + std::fabs(s.y)) + camera.y) * sy) - kMargin);
    const int bottom =
        std::min(image.height, int((450 - (p.y - std::fabs(s.y)) + camera.y) * sy) + kMargin);
    platform::Image part;
    part.width = std::max(0, right - left);
    part.height = std::max(0, bottom - top);
    for (int y = top; y < top + part.height; ++y) {
        const auto row =
            image.rgba.begin() + (static_cast<std::ptrdiff_t>(y) * image.width + left) * 4;
        part.rgba.insert(part.rgba.end(), row, row + part.width * 4);
    }
    return part;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        return Usage();
    }
    const std::string level = argv[2];
    char* end = nullptr;
    const long frames = std::strtol(argv[3], &end, 10);
    if (*end != '\0' || frames < 1) {
        return Usage();
    }
    const std::filesystem::path out = argv[4];
    std::filesystem::create_directories(out);

    Assets::SetRoot(argv[1]);
    platform::Services services = platform::MakeDesktopServices(Assets::PathOf("Vorl1.ico"));
    if (!services.window) {
        return 1;
    }
    services.clock = timing::MakeFixedStepClock(FrameRateController::kGameFrameTime);
    Core core(std::move(services));
    LoadGameData(core);
    // Two frames let the sequencer start (and finish) its own first level before ours, which
    // then replaces it as a play-test would: the first level's objects are cleared first.
    core.Update();
    core.Update();
    LevelManager::PlayTest(level);
    for (long frame = 0; frame < frames && isRunning; ++frame) {
        if (frame == frames - 1) {
            core.Graphics().CaptureNextFrame();
        }
        core.Update();
    }

    const platform::Image& image = core.Graphics().CapturedFrame();
    int status = 0;
    if (image.rgba.empty()) {
        std::cerr << "kit_snapshot: no frame was drawn to save\n";
        status = 1;
    } else {
        platform::WritePngRgb((out / (level + ".png")).string(), image);
        const Camera* camera = MainCamera();
        const Vector2D at = camera ? camera->GetPosition() : Vector2D{0, 0};
        std::set<std::string> written;
        for (const Object* object : LevelObjects()) {
            if (!object->IsVisible() || !object->HasComponent("TextureComponent") ||
                !written.insert(object->GetName()).second) {
                continue;
            }
            platform::WritePngRgb((out / (object->GetName() + ".png")).string(),
                                  Crop(image, *object, at));
        }
    }
    core.Shutdown();
    DestroyAllArchetypes();
    return status;
}
