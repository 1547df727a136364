// Golden images of the shipped game: level 2 and the ending, as the whole engine draws them from
// the committed assets on the OpenGL device after two seconds at rest, compared with references.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core.h"
#include "graphics/golden/golden_compare.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/gl/opengl_device.h"
#include "platform/sdl/hidden_gl_surface.h"
#include "platform/services.h"
#include "support/headless_engine.h"
#include "support/skip_or_fail.h"

namespace {

constexpr double kGameFrame = 1.0 / 63.0;
constexpr int kSettleFrames = 126;

struct ShippedLevel {
    int number;
    const char* name;
};

class GoldenLevel : public testing::TestWithParam<ShippedLevel> {
protected:
    void SetUp() override {
        std::string error;
        surface_ = platform::MakeHiddenGLSurface(1600, 900, &error);
        if (!surface_) {
            VORL_SKIP_OR_FAIL_UNDER_CI("no OpenGL 3.3 core context: " << error);
        }
        Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
        platform::Services services = platform::MakeHeadlessServices(kGameFrame);
        services.graphics = platform::MakeOpenGLGraphicsDevice(*surface_);
        engine_ = std::make_unique<testing_support::HeadlessEngine>(std::move(services));
        LevelManager::SetStartLevel(GetParam().number);
        LoadGameData(engine_->core());
        engine_->RunFrames(kSettleFrames);
    }

    // The engine goes while the shipped data is still its folder; the surface goes after it.
    void TearDown() override {
        engine_.reset();
        Assets::SetRoot("assets");
    }

    std::unique_ptr<platform::GLSurface> surface_;
    std::unique_ptr<testing_support::HeadlessEngine> engine_;
};

// The level looks as its reference. Backgrounds are opaque and drawn without blending, and still
// pictures at one texel a pixel are read with the nearest filter; drawn blended and filtered
// linearly they must give exactly the same pixels. The scene is held still (animations stopped,
// the same objects drawn twice).
TEST_P(GoldenLevel, LooksAsItsReferenceWithOrWithoutTheSamePictureShortcuts) {
    ASSERT_EQ(LevelManager::LevelTable()[GetParam().number], GetParam().name);
    bool backgroundOpaque = false;
    for (Object* object : LevelObjects()) {
        if (auto* texture = object->Get<TextureComponent>("TextureComponent")) {
            texture->SetPlaying(false);
            const Texture* sheet = texture->GetTexture();
            backgroundOpaque =
                backgroundOpaque ||
                (sheet && sheet->name.starts_with("Background") && sheet->layout.FrameIsOpaque(0));
        }
    }
    EXPECT_TRUE(backgroundOpaque);
    engine_->core().Update();
    GraphicsSystem& graphics = engine_->core().Graphics();
    // Drawn again outside the frame loop, by the renderer alone: nothing moves in between.
    const auto draw = [&graphics](bool shortcuts) {
        graphics.SetSamePictureShortcuts(shortcuts);
        graphics.CaptureNextFrame();
        graphics.Draw();
        return graphics.CapturedFrame();
    };
    const platform::Image plain = draw(false);
    const platform::Image shortened = draw(true);
    EXPECT_TRUE(plain.rgba == shortened.rgba) << "the shortcuts change pixels";
    golden::ExpectMatchesReference(shortened, GetParam().name, "opaque");
}

INSTANTIATE_TEST_SUITE_P(Shipped, GoldenLevel,
                         testing::Values(ShippedLevel{2, "level_Intro"},
                                         ShippedLevel{19, "level_End2"}),
                         [](const testing::TestParamInfo<ShippedLevel>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
