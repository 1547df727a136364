// Golden images: small scenes drawn by the real renderer on the OpenGL device, read back, reduced
// 4 x 4 to 400 x 225 and compared with the committed references within a small tolerance (the
// software rasteriser may round a few edge pixels differently from one Mesa to the next).
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/messaging.h"
#include "graphics/golden/golden_compare.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "platform/gl/opengl_device.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"
#include "platform/sdl/hidden_gl_surface.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"
#include "support/frame_protocol_cases.h"
#include "support/render_scene.h"
#include "support/scripted_window.h"
#include "support/skip_or_fail.h"

namespace {

using testing_support::MakeSprite;
using testing_support::MakeSquare;
using testing_support::Rgba;

// Every scene is drawn on two windows and must match the same reference: one smaller than the
// back buffer, drawn offscreen and scaled into it, and one of the back buffer's own size, drawn
// into directly.
struct WindowSize {
    int width;
    int height;
};

class GoldenScene : public testing_support::EngineTest,
                    public testing::WithParamInterface<WindowSize> {
protected:
    void SetUp() override {
        std::string error;
        surface_ = platform::MakeHiddenGLSurface(GetParam().width, GetParam().height, &error);
        if (!surface_) {
            VORL_SKIP_OR_FAIL_UNDER_CI("no OpenGL 3.3 core context: " << error);
        }
        assets_ = std::make_unique<testing_support::ScratchAssets>("golden");
        device_ = platform::MakeOpenGLGraphicsDevice(*surface_);
        graphics_ = std::make_unique<GraphicsSystem>(*device_, window_);
        LoadTexture("sheet");
    }

    void RenderFrame(const std::vector<std::pair<int, bool>>& keys = {}) {
        graphics_->CaptureNextFrame();
        testing_support::RenderFrame(*graphics_, keys);
    }

    // Members end in reverse order: the renderer, its device, then the surface they draw on.
    testing_support::ScriptedWindow window_;
    std::unique_ptr<testing_support::ScratchAssets> assets_;
    std::unique_ptr<platform::GLSurface> surface_;
    std::unique_ptr<platform::GraphicsDevice> device_;
    std::unique_ptr<GraphicsSystem> graphics_;
};

// The colour at a back-buffer pixel (top-left origin).
Rgba PixelAt(const platform::Image& full, int x, int y) {
    EXPECT_EQ(full.width, 1600);
    if (full.width != 1600) {
        return {};
    }
    const std::size_t i = (static_cast<std::size_t>(y) * full.width + x) * 4;
    return {full.rgba[i], full.rgba[i + 1], full.rgba[i + 2], full.rgba[i + 3]};
}

constexpr Rgba kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255},
    kBlue{0, 0, 255, 255};

// A packed 16 x 16 picture: a 2-texel red rim around blue, with a green column 4 texels in.
void WriteSlab() {
    platform::Image image;
    image.width = image.height = 20;
    image.rgba.assign(20 * 20 * 4, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool rim = x < 2 || y < 2 || x >= 14 || y >= 14;
            const Rgba c = rim ? kRed : x == 4 ? kGreen : kBlue;
            const std::uint8_t texel[] = {c.r, c.g, c.b, c.a};
            std::copy(texel, texel + 4, &image.rgba[((y + 2) * 20 + x + 2) * 4]);
        }
    }
    ASSERT_TRUE(platform::WritePngRgba("assets/slab.png", image, "Vorl sheet",
                                       "quad 16 16\nframe 0 2 2 16 16\nslice 2 2 2 2\n"));
}

// A colour and the back-buffer pixels (top-left origin) that show it, within three levels.
struct Probe {
    Rgba colour;
    std::vector<std::pair<int, int>> at;
};
struct Scene {
    const char* reference;
    std::function<void()> build;
    std::vector<Probe> probes;
};

std::vector<Scene> Scenes() {
    return {
        // Left pair: the near one created first; right pair: the near one created last. In both
        // overlaps the zlayer-7 sheet cell shows.
        {"depth_order",
         [] {
             AddAnimation("frame5", "sheet", 5, 1, 0.0f);
             AddAnimation("frame6", "sheet", 6, 1, 0.0f);
             MakeSprite("frame5", {-450.0f, 0.0f}, {150.0f, 150.0f}, 7.0f);
             MakeSprite("frame6", {-300.0f, 50.0f}, {150.0f, 150.0f}, 3.0f);
             MakeSprite("frame6", {300.0f, 50.0f}, {150.0f, 150.0f}, 3.0f);
             MakeSprite("frame5", {450.0f, 0.0f}, {150.0f, 150.0f}, 7.0f);
         },
         {{testing_support::CellColour(5), {{800 - 375, 450}, {800 + 375, 450}}}}},
        // A red square behind the cut-out: its upper half fails the alpha test and must neither
        // draw nor write depth. Textured objects draw before coloured squares, so the
        // half-transparent sprite blends with the cleared black and its depth then hides the blue
        // square behind it.
        {"alpha_test",
         [] {
             AddAnimation("cutout", "sheet", 2, 1, 0.0f);
             AddAnimation("glass", "sheet", 3, 1, 0.0f);
             MakeSquare({-300.0f, 0.0f}, {250.0f, 250.0f}, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f);
             MakeSprite("cutout", {-300.0f, 0.0f}, {200.0f, 200.0f}, 10.0f);
             MakeSquare({300.0f, 0.0f}, {250.0f, 250.0f}, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
             MakeSprite("glass", {300.0f, 0.0f}, {200.0f, 200.0f}, 10.0f);
         },
         {{kRed, {{500, 350}}}, {kGreen, {{500, 550}}}, {{128, 128, 128, 255}, {{1100, 450}}}}},
        // Orange, white at half alpha over blue, and an alpha below the test's threshold.
        {"tint",
         [] {
             MakeSquare({-400.0f, 0.0f}, {150.0f, 150.0f}, 2.0f, 1.0f, 0.5f, 0.0f, 1.0f);
             MakeSquare({0.0f, 0.0f}, {150.0f, 150.0f}, 2.0f, 0.0f, 0.0f, 1.0f, 1.0f);
             MakeSquare({100.0f, 100.0f}, {150.0f, 150.0f}, 4.0f, 1.0f, 1.0f, 1.0f, 0.5f);
             MakeSquare({400.0f, 0.0f}, {150.0f, 150.0f}, 4.0f, 1.0f, 1.0f, 1.0f, 0.02f);
         },
         {{{255, 128, 0, 255}, {{400, 450}}},
          {{128, 128, 255, 255}, {{850, 400}}},
          {kBlack, {{1200, 450}}}}},
        // Unflipped: red on the left as in the sheet; flipped: blue on the left.
        {"horizontal_flip",
         [] {
             AddAnimation("halves", "sheet", 1, 1, 0.0f);
             MakeSprite("halves", {-300.0f, 0.0f}, {200.0f, 200.0f}, 5.0f);
             MakeSprite("halves", {300.0f, 0.0f}, {200.0f, 200.0f}, 5.0f)->SetHorizontalFlip(true);
         },
         {{kRed, {{400, 450}, {1200, 450}}}, {kBlue, {{600, 450}, {1000, 450}}}}},
        // 400 x 100 pixels from the 16 x 16 slab: the rim stays two pixels wide on every side;
        // the middle (12 texels) repeats mirrored: the column 4 texels in shows at 2 + 2, then
        // mirrored at 2 + 12 + (12 - 3) = 23, then again at 2 + 24 + 2 = 28.
        {"sliced",
         [] {
             WriteSlab();
             LoadTexture("slab");
             AddAnimation("slab", "slab", 0, 1, 0.0f);
             MakeSprite("slab", {0.0f, 0.0f}, {200.0f, 50.0f}, 3.0f);
         },
         {{kRed, {{600, 450}, {601, 450}, {999, 450}, {800, 400}, {800, 499}}},
          {kBlue, {{602, 450}, {997, 450}, {800, 402}, {800, 497}, {610, 450}}},
          {kGreen, {{604, 450}, {623, 450}, {628, 450}}}}},
    };
}

TEST_P(GoldenScene, EachSceneLooksAsItsReference) {
    for (const Scene& scene : Scenes()) {
        SCOPED_TRACE(scene.reference);
        graphics_.reset();
        testing_support::ResetEngineState();
        graphics_ = std::make_unique<GraphicsSystem>(*device_, window_);
        LoadTexture("sheet");
        scene.build();
        MessagingSystem::Send<ArchetypesLoadedMessage>();
        // The frame that reads the message, then one more.
        RenderFrame();
        RenderFrame();
        const platform::Image& frame = graphics_->CapturedFrame();
        golden::ExpectMatchesReference(frame, scene.reference, std::to_string(GetParam().width));
        for (const Probe& probe : scene.probes) {
            for (const auto& [x, y] : probe.at) {
                const Rgba p = PixelAt(frame, x, y);
                EXPECT_NEAR(p.r, probe.colour.r, 3) << x << ", " << y;
                EXPECT_NEAR(p.g, probe.colour.g, 3) << x << ", " << y;
                EXPECT_NEAR(p.b, probe.colour.b, 3) << x << ", " << y;
            }
        }
    }
}

TEST_P(GoldenScene, F12SavesTheBackBufferUnderScreenshots) {
    AddAnimation("frame5", "sheet", 5, 1, 0.0f);
    MakeSprite("frame5", {0.0f, 0.0f}, {100.0f, 100.0f}, 3.0f);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    RenderFrame();
    // The renderer takes the shot in the frame after the key's command.
    RenderFrame({{VirtualKey::F12, true}});
    RenderFrame({{VirtualKey::F12, false}});

    const std::vector<std::filesystem::path> shots(
        std::filesystem::directory_iterator("screenshots"), {});
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].extension(), ".png");
    platform::Image shot;
    ASSERT_TRUE(platform::DecodePng(shots[0].string(), shot));
    EXPECT_EQ(shot.height, 900);
    // The sprite's cell colour in the middle, opaque black in the corner.
    const Rgba cell = testing_support::CellColour(5);
    const Rgba centre = PixelAt(shot, 800, 450);
    EXPECT_NEAR(centre.r, cell.r, 2);
    EXPECT_NEAR(centre.g, cell.g, 2);
    EXPECT_NEAR(centre.b, cell.b, 2);
    EXPECT_EQ(PixelAt(shot, 0, 0).a, 255);
    // A second shot in the same second gets a name of its own.
    const std::string second = graphics_->SaveScreenshot();
    EXPECT_FALSE(second.empty());
    EXPECT_NE(std::filesystem::path(second), shots[0]);
}

TEST_P(GoldenScene, CallsOutOfFrameOrderAreSaidAndSkipped) {
    testing_support::ExpectFrameProtocolChecked(*device_);
}

TEST_P(GoldenScene, ATechniqueThatFailsToCompileIsReportedAtItsLineInTheFile) {
    std::ofstream("assets/Broken.fx") << "@technique Good\nvec4 Shade() { return vec4(1.0); }\n"
                                      << "@technique Broken\nvec4 Shade() { return missing; }\n";
    const testing_support::CapturedDiagnostics diagnostics;
    const std::string errors = device_->LoadEffect("assets/Broken.fx");
    EXPECT_NE(errors.find("technique Broken"), std::string::npos) << errors;
    EXPECT_TRUE(device_->HasTechnique("Good"));
    EXPECT_FALSE(device_->HasTechnique("Broken"));
    ASSERT_FALSE(diagnostics.Lines().empty());
    for (const std::string& line : diagnostics.Lines()) {
        EXPECT_EQ(line.rfind("assets/Broken.fx:4: ", 0), 0u) << line;
    }
}

TEST_P(GoldenScene, DrawsIntoTheWindowOnlyWhenItIsTheBackBuffersSize) {
    device_->BeginFrame();
    GLint target = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &target);
    const bool backBufferSize = GetParam().width == 1600 && GetParam().height == 900;
    EXPECT_EQ(target == 0, backBufferSize) << "draw framebuffer " << target;
    device_->Present();
}

INSTANTIATE_TEST_SUITE_P(Windows, GoldenScene,
                         testing::Values(WindowSize{640, 360}, WindowSize{1600, 900}),
                         [](const testing::TestParamInfo<WindowSize>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

}  // namespace
