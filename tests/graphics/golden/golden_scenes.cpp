// Golden images: small scenes drawn by the real renderer on the OpenGL device, read back, reduced
// 4 x 4 to 400 x 225 and compared with the committed references within a small tolerance (the
// software rasteriser may round a few edge pixels differently from one Mesa to the next).
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/clock.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "graphics/golden/golden_compare.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "input/debug_keys.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "platform/diagnostics.h"
#include "platform/gl/opengl_device.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"
#include "platform/sdl/hidden_gl_surface.h"
#include "platform/window.h"
#include "support/engine_test.h"
#include "support/frame_protocol_cases.h"
#include "support/render_scene.h"
#include "support/scripted_window.h"
#include "support/skip_or_fail.h"

namespace {

using testing_support::MakeSprite;
using testing_support::MakeSquare;

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

    void TearDown() override {
        graphics_.reset();
        device_.reset();
        surface_.reset();
        assets_.reset();
    }

    void ArchetypesLoaded() { MessagingSystem::Send<ArchetypesLoadedMessage>(); }

    // One engine frame's worth for the renderer: the queue swap, then the draw.
    void RenderFrame() {
        FrameRateController::StartFrame();
        MessagingSystem::Update();
        graphics_->CaptureNextFrame();
        graphics_->Update();
        graphics_->Draw();
        FrameRateController::EndFrame();
    }

    void ExpectMatchesReference(const std::string& name) {
        golden::ExpectMatchesReference(graphics_->CapturedFrame(), name,
                                       std::to_string(GetParam().width));
    }

    // The colour at a back-buffer pixel (top-left origin).
    testing_support::Rgba PixelAt(int x, int y) {
        const platform::Image& full = graphics_->CapturedFrame();
        EXPECT_EQ(full.width, 1600);
        if (full.width != 1600) {
            return {};
        }
        const std::size_t i = (static_cast<std::size_t>(y) * full.width + x) * 4;
        return {full.rgba[i], full.rgba[i + 1], full.rgba[i + 2], full.rgba[i + 3]};
    }

    testing_support::ScriptedWindow window_;
    std::unique_ptr<platform::GLSurface> surface_;
    std::unique_ptr<testing_support::ScratchAssets> assets_;
    std::unique_ptr<platform::GraphicsDevice> device_;
    std::unique_ptr<GraphicsSystem> graphics_;
};

TEST_P(GoldenScene, LoadingScreenShowsOnlyTheLoadingText) {
    MakeSprite("frame5", {0.0f, 0.0f}, {200.0f, 200.0f}, 3.0f);
    AddAnimation("frame5", "sheet", 5, 1, 0.0f);
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("loading");
    // Black around the text: the sprite is not drawn.
    const auto corner = PixelAt(700, 300);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);
}

TEST_P(GoldenScene, HigherZLayerCoversLowerWhateverTheCreationOrder) {
    AddAnimation("frame5", "sheet", 5, 1, 0.0f);
    AddAnimation("frame6", "sheet", 6, 1, 0.0f);
    // Left pair: the near one created first; right pair: the near one created last.
    MakeSprite("frame5", {-450.0f, 0.0f}, {150.0f, 150.0f}, 7.0f);
    MakeSprite("frame6", {-300.0f, 50.0f}, {150.0f, 150.0f}, 3.0f);
    MakeSprite("frame6", {300.0f, 50.0f}, {150.0f, 150.0f}, 3.0f);
    MakeSprite("frame5", {450.0f, 0.0f}, {150.0f, 150.0f}, 7.0f);
    ArchetypesLoaded();
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("depth_order");
    // In both overlaps (world x -375 and 375, y 0) the zlayer-7 sheet cell shows.
    const auto five = testing_support::CellColour(5);
    for (const int x : {800 - 375, 800 + 375}) {
        const auto p = PixelAt(x, 450);
        EXPECT_NEAR(p.r, five.r, 2) << x;
        EXPECT_NEAR(p.g, five.g, 2) << x;
        EXPECT_NEAR(p.b, five.b, 2) << x;
    }
}

TEST_P(GoldenScene, AlphaTestDiscardsNearlyTransparentTexels) {
    AddAnimation("cutout", "sheet", 2, 1, 0.0f);
    AddAnimation("glass", "sheet", 3, 1, 0.0f);
    // A red square behind, the cut-out in front: its upper half fails the test and must neither
    // draw nor write depth, so the square shows through.
    MakeSquare({-300.0f, 0.0f}, {250.0f, 250.0f}, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    MakeSprite("cutout", {-300.0f, 0.0f}, {200.0f, 200.0f}, 10.0f);
    MakeSquare({300.0f, 0.0f}, {250.0f, 250.0f}, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    MakeSprite("glass", {300.0f, 0.0f}, {200.0f, 200.0f}, 10.0f);
    ArchetypesLoaded();
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("alpha_test");
    const auto top = PixelAt(500, 350);
    EXPECT_GT(top.r, 250);
    EXPECT_LT(top.g, 5);
    const auto bottom = PixelAt(500, 550);
    EXPECT_GT(bottom.g, 250);
    EXPECT_LT(bottom.r, 5);
    // Textured objects draw before coloured squares, so the half-transparent sprite blends with
    // the cleared black and its depth then hides the blue square behind it.
    const auto glass = PixelAt(1100, 450);
    EXPECT_NEAR(glass.r, 128, 3);
    EXPECT_NEAR(glass.g, 128, 3);
    EXPECT_NEAR(glass.b, 128, 3);
}

TEST_P(GoldenScene, ColouredSquaresTakeTheirTint) {
    MakeSquare({-400.0f, 0.0f}, {150.0f, 150.0f}, 2.0f, 1.0f, 0.5f, 0.0f, 1.0f);
    MakeSquare({0.0f, 0.0f}, {150.0f, 150.0f}, 2.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    MakeSquare({100.0f, 100.0f}, {150.0f, 150.0f}, 4.0f, 1.0f, 1.0f, 1.0f, 0.5f);
    // Alpha below the test's threshold: not drawn at all.
    MakeSquare({400.0f, 0.0f}, {150.0f, 150.0f}, 4.0f, 1.0f, 1.0f, 1.0f, 0.02f);
    ArchetypesLoaded();
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("tint");
    const auto orange = PixelAt(400, 450);
    EXPECT_NEAR(orange.r, 255, 2);
    EXPECT_NEAR(orange.g, 128, 2);
    EXPECT_NEAR(orange.b, 0, 2);
    const auto mixed = PixelAt(850, 400);
    EXPECT_NEAR(mixed.r, 128, 3);
    EXPECT_NEAR(mixed.b, 255, 3);
    const auto invisible = PixelAt(1200, 450);
    EXPECT_EQ(invisible.r + invisible.g + invisible.b, 0);
}

TEST_P(GoldenScene, AnimationShowsItsCurrentFrame) {
    // Start 12, count 3, a new frame every 0.05 s. The first frame has no length; with 1/60 s
    // steps the timer reaches the duration on the 4th and 7th draws, so the 8th draw shows 14.
    AddAnimation("walk", "sheet", 12, 3, 0.05f);
    Object* sprite = MakeSprite("walk", {0.0f, 0.0f}, {200.0f, 200.0f}, 5.0f);
    ArchetypesLoaded();
    for (int i = 0; i < 8; ++i) {
        RenderFrame();
    }
    auto* texture = sprite->Get<TextureComponent>("TextureComponent");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetCurrentFrame(), 14u);
    ExpectMatchesReference("animation_frame");
    const auto cell = testing_support::CellColour(14);
    const auto p = PixelAt(800, 450);
    EXPECT_NEAR(p.r, cell.r, 2);
    EXPECT_NEAR(p.g, cell.g, 2);
    EXPECT_NEAR(p.b, cell.b, 2);
}

TEST_P(GoldenScene, HorizontalFlipMirrorsTheSprite) {
    AddAnimation("halves", "sheet", 1, 1, 0.0f);
    MakeSprite("halves", {-300.0f, 0.0f}, {200.0f, 200.0f}, 5.0f);
    Object* flipped = MakeSprite("halves", {300.0f, 0.0f}, {200.0f, 200.0f}, 5.0f);
    flipped->SetHorizontalFlip(true);
    ArchetypesLoaded();
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("horizontal_flip");
    // Unflipped: red on the left as in the sheet; flipped: blue on the left.
    EXPECT_GT(PixelAt(800 - 400, 450).r, 250);
    EXPECT_GT(PixelAt(800 - 200, 450).b, 250);
    EXPECT_GT(PixelAt(800 + 200, 450).b, 250);
    EXPECT_GT(PixelAt(800 + 400, 450).r, 250);
}

// A packed 16 x 16 picture: a 2-texel red rim around blue, with a green column 4 texels in.
void WriteSlab() {
    platform::Image image;
    image.width = 20;
    image.height = 20;
    image.rgba.assign(static_cast<std::size_t>(image.width) * image.height * 4, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool rim = x < 2 || y < 2 || x >= 14 || y >= 14;
            const std::uint8_t colour[4] = {static_cast<std::uint8_t>(rim ? 255 : 0),
                                            static_cast<std::uint8_t>(!rim && x == 4 ? 255 : 0),
                                            static_cast<std::uint8_t>(!rim && x != 4 ? 255 : 0),
                                            255};
            std::copy(colour, colour + 4,
                      &image.rgba[((static_cast<std::size_t>(y) + 2) * image.width + x + 2) * 4]);
        }
    }
    ASSERT_TRUE(platform::WritePngRgba("assets/slab.png", image, "Vorl sheet",
                                       "quad 16 16\nframe 0 2 2 16 16\nslice 2 2 2 2\n"));
}

TEST_P(GoldenScene, APictureDrawnBiggerKeepsItsRimAndRepeatsItsMiddle) {
    WriteSlab();
    LoadTexture("slab");
    AddAnimation("slab", "slab", 0, 1, 0.0f);
    // 400 x 100 pixels from a 16 x 16 picture.
    MakeSprite("slab", {0.0f, 0.0f}, {200.0f, 50.0f}, 3.0f);
    ArchetypesLoaded();
    RenderFrame();
    RenderFrame();
    ExpectMatchesReference("sliced");
    // The rim is two pixels wide on every side, as in the picture.
    for (const auto& [x, y] :
         {std::pair{600, 450}, {601, 450}, {999, 450}, {800, 400}, {800, 499}}) {
        EXPECT_GT(PixelAt(x, y).r, 250) << x << ", " << y;
    }
    for (const auto& [x, y] : {std::pair{602, 450}, {997, 450}, {800, 402}, {800, 497}}) {
        EXPECT_LT(PixelAt(x, y).r, 5) << x << ", " << y;
    }
    // The middle (12 texels) repeats mirrored: the column 4 texels in shows at 2 + 2, then
    // mirrored at 2 + 12 + (12 - 3) = 23, then again at 2 + 24 + 2 = 28.
    EXPECT_GT(PixelAt(604, 450).g, 250);
    EXPECT_GT(PixelAt(623, 450).g, 250);
    EXPECT_GT(PixelAt(628, 450).g, 250);
    EXPECT_GT(PixelAt(610, 450).b, 250);
}

TEST_P(GoldenScene, F12SavesTheBackBufferUnderScreenshots) {
    AddAnimation("frame5", "sheet", 5, 1, 0.0f);
    MakeSprite("frame5", {0.0f, 0.0f}, {100.0f, 100.0f}, 3.0f);
    ArchetypesLoaded();
    RenderFrame();
    // The window delivers the key after the input update of the frame and sends its command; the
    // renderer takes the shot in the frame after.
    for (const bool press : {true, false}) {
        FrameRateController::StartFrame();
        MessagingSystem::Update();
        InputSystem::Update();
        if (press) {
            InputSystem::SetKey(VirtualKey::F12, true);
            DebugKeys::SendDebugCommands();
        }
        graphics_->Update();
        graphics_->Draw();
        FrameRateController::EndFrame();
    }
    InputSystem::SetKey(VirtualKey::F12, false);

    std::vector<std::filesystem::path> shots;
    for (const auto& entry : std::filesystem::directory_iterator("screenshots")) {
        shots.push_back(entry.path());
    }
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].extension(), ".png");
    platform::Image shot;
    ASSERT_TRUE(platform::DecodePng(shots[0].string(), shot));
    EXPECT_EQ(shot.width, 1600);
    EXPECT_EQ(shot.height, 900);
    // The sprite's cell colour in the middle, opaque black in the corner.
    const auto cell = testing_support::CellColour(5);
    const std::size_t centre = (static_cast<std::size_t>(450) * 1600 + 800) * 4;
    EXPECT_NEAR(shot.rgba[centre], cell.r, 2);
    EXPECT_NEAR(shot.rgba[centre + 1], cell.g, 2);
    EXPECT_NEAR(shot.rgba[centre + 2], cell.b, 2);
    EXPECT_EQ(shot.rgba[3], 255);
    // A second shot in the same second gets a name of its own.
    const std::string second = graphics_->SaveScreenshot();
    EXPECT_FALSE(second.empty());
    EXPECT_NE(std::filesystem::path(second), shots[0]);
}

TEST_P(GoldenScene, CallsOutOfFrameOrderAreSaidAndSkipped) {
    testing_support::ExpectFrameProtocolChecked(*device_);
}

TEST_P(GoldenScene, ATechniqueThatFailsToCompileIsReportedAtItsLineInTheFile) {
    const std::string path = "assets/Broken.fx";
    std::ofstream(path) << "@technique Good\nvec4 Shade() { return vec4(1.0); }\n"
                        << "@technique Broken\nvec4 Shade() { return missing; }\n";
    struct Report {
        std::string file;
        int line;
        std::string problem;
    };
    std::vector<Report> reports;
    auto previous =
        platform::SetDiagnosticSink([&](std::string_view file, int line, std::string_view problem) {
            reports.push_back({std::string(file), line, std::string(problem)});
        });
    const std::string errors = device_->LoadEffect(path);
    platform::SetDiagnosticSink(std::move(previous));
    EXPECT_NE(errors.find("technique Broken"), std::string::npos) << errors;
    EXPECT_TRUE(device_->HasTechnique("Good"));
    EXPECT_FALSE(device_->HasTechnique("Broken"));
    ASSERT_FALSE(reports.empty());
    for (const Report& report : reports) {
        EXPECT_EQ(report.file, path);
        EXPECT_EQ(report.line, 4) << report.problem;
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
