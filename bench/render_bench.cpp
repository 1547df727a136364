// One rendered frame: the renderer's whole Update (cull, animation step, world matrices, draw
// calls, swap, and the letterbox blit when the window is not the back buffer's size) with 5,000
// visible textured sprites, against an empty frame (clear, swap, blit if any) in the same run. The
// same 5,000-sprite frame on the headless device gives the CPU share of the render logic alone.
// Needs a display with OpenGL 3.3 core (run under xvfb-run; Mesa's llvmpipe when no GPU).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/messaging.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "objects/graveyard.h"
#include "objects/object.h"
#include "platform/gl/opengl_device.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"
#include "platform/sdl/hidden_gl_surface.h"
#include "platform/window.h"
#include "support/ratio_main.h"
#include "support/scripted_window.h"

namespace {

constexpr int kSprites = 5000;

// A scratch folder with a 320 x 160 sheet of 50 coloured cells and a one-technique effect.
class ScratchFolder {
public:
    ScratchFolder() {
        previous_ = std::filesystem::current_path();
        path_ = std::filesystem::temp_directory_path() /
                ("vorl_render_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_ / "assets");
        platform::Image sheet;
        sheet.width = 320;
        sheet.height = 160;
        for (int y = 0; y < sheet.height; ++y) {
            for (int x = 0; x < sheet.width; ++x) {
                const int cell = (y / 32) * 10 + x / 32;
                const bool edge = x % 32 < 4 || y % 32 < 4;
                sheet.rgba.insert(sheet.rgba.end(), {static_cast<std::uint8_t>(cell * 5),
                                                     static_cast<std::uint8_t>(255 - cell * 5), 128,
                                                     static_cast<std::uint8_t>(edge ? 0 : 255)});
            }
        }
        platform::WritePngRgba((path_ / "assets" / "sheet.png").string(), sheet);
        std::ofstream(path_ / "assets" / "PixelShader.fx")
            << "@technique Tint\nuniform float tintr;\nuniform float tintg;\n"
               "uniform float tintb;\nuniform float tinta;\n"
               "vec4 Shade() { return vec4(tintr, tintg, tintb, tinta); }\n";
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
        std::filesystem::remove_all(path_, error);
    }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// A renderer on `device` with `count` visible sprites spread over the screen, every one inside
// the view, at mixed depths and animation frames.
class Scene {
public:
    Scene(platform::GraphicsDevice& device, int count) {
        graphics_ = std::make_unique<GraphicsSystem>(device, window_);
        if (!TextureTable().Contains("sheet")) {
            LoadTexture("sheet");
            AddAnimation("bench", "sheet", 0, 50, 0.05f);
        }
        for (int i = 0; i < count; ++i) {
            auto* object = new Object;
            auto* texture = new TextureComponent;
            texture->filename = "bench";
            object->AddComponent("TextureComponent", texture);
            CompleteObjectTexture(*object);
            object->GetTransform().SetPosition({static_cast<float>((i * 37) % 1560 - 780),
                                                static_cast<float>((i * 53) % 860 - 430)});
            object->GetTransform().SetScale({16.0f, 16.0f});
            object->GetTransform().SetZLayer(static_cast<float>(i % 40));
            object->SetVisible(true);
            objects_.push_back(object);
        }
        MessagingSystem::Send<ArchetypesLoadedMessage>();
        MessagingSystem::Update();
        graphics_->Update();
        graphics_->Draw();
    }
    ~Scene() {
        graphics_.reset();
        for (Object* object : objects_) {
            delete object;
        }
        MessagingSystem::Reset();
        Graveyard::FreeAll();
    }
    void Frame() {
        MessagingSystem::Update();
        graphics_->Update();
        graphics_->Draw();
    }

private:
    testing_support::ScriptedWindow window_;
    std::unique_ptr<GraphicsSystem> graphics_;
    std::vector<Object*> objects_;
};

// The window is the back buffer's size, as the game's own window opens, unless
// VORL_RENDER_BENCH_WINDOW asks for another ("1920x1080": a full screen the picture is scaled to).
struct GLContext {
    GLContext() {
        setenv("VORL_NO_MESSAGE_BOXES", "1", 1);
        int width = 1600;
        int height = 900;
        if (const char* size = std::getenv("VORL_RENDER_BENCH_WINDOW")) {
            std::sscanf(size, "%dx%d", &width, &height);
        }
        surface = platform::MakeHiddenGLSurface(width, height, &error);
        if (surface) {
            device = platform::MakeOpenGLGraphicsDevice(*surface);
        }
    }
    std::string error;
    std::unique_ptr<platform::GLSurface> surface;
    std::unique_ptr<platform::GraphicsDevice> device;
};

GLContext& Context() {
    static ScratchFolder folder;
    static GLContext context;
    return context;
}

void EmptyFrame(benchmark::State& state) {
    GLContext& gl = Context();
    if (!gl.device) {
        state.SkipWithError(("no OpenGL 3.3 core context: " + gl.error).c_str());
        return;
    }
    Scene scene(*gl.device, 0);
    for (auto _ : state) {
        scene.Frame();
    }
}

void SpritesFrame(benchmark::State& state) {
    GLContext& gl = Context();
    if (!gl.device) {
        state.SkipWithError(("no OpenGL 3.3 core context: " + gl.error).c_str());
        return;
    }
    Scene scene(*gl.device, kSprites);
    for (auto _ : state) {
        scene.Frame();
    }
    state.counters["quads"] = gl.device->QuadsDrawn();
}

void SpritesFrameHeadless(benchmark::State& state) {
    Context();
    auto device = platform::MakeHeadlessGraphicsDevice();
    Scene scene(*device, kSprites);
    for (auto _ : state) {
        scene.Frame();
    }
    state.counters["quads"] = device->QuadsDrawn();
}

// The empty frame is the baseline: what clearing, the letterbox blit and the swap cost alone.
BENCHMARK(EmptyFrame)->Name("frame_opengl/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(SpritesFrame)->Name("frame_opengl/sprites_5000")->Unit(benchmark::kMillisecond);
BENCHMARK(SpritesFrameHeadless)
    ->Name("frame_opengl/sprites_5000_logic_only")
    ->Unit(benchmark::kMillisecond);

}  // namespace

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
