// Golden images of the shipped game: level 2 and the ending, as the whole engine draws them from
// the committed assets on the OpenGL device after two seconds at rest, compared with references.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/messages.h"
#include "core/messaging.h"
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

    void TearDown() override {
        engine_.reset();
        surface_.reset();
        Assets::SetRoot("assets");
    }

    // The next frame the engine draws.
    const platform::Image& NextFrame() {
        engine_->core().Graphics().CaptureNextFrame();
        engine_->core().Update();
        return engine_->core().Graphics().CapturedFrame();
    }

    std::unique_ptr<platform::GLSurface> surface_;
    std::unique_ptr<testing_support::HeadlessEngine> engine_;
};

TEST_P(GoldenLevel, LooksAsItsReference) {
    ASSERT_EQ(LevelManager::LevelTable()[GetParam().number], GetParam().name);
    golden::ExpectMatchesReference(NextFrame(), GetParam().name, "level");
}

// Backgrounds are opaque and drawn without blending, and still pictures at one texel a pixel are
// read with the nearest filter; drawn blended and filtered linearly they must give exactly the
// same pixels. The scene is held still (animations stopped, the same objects drawn twice).
TEST_P(GoldenLevel, SamePictureShortcutsGiveTheSamePicture) {
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
    NextFrame();
    GraphicsSystem& graphics = engine_->core().Graphics();
    // Drawing again outside the frame loop: only the renderer runs, so nothing moves. Its
    // messages were read in the frame just run; none of them adds a component twice.
    for (const auto& message : MessagingSystem::GetMessages()) {
        ASSERT_NE(message->type, MessageType::RegisterComponent);
    }
    const auto draw = [&graphics](bool shortcuts) {
        graphics.SetSamePictureShortcuts(shortcuts);
        graphics.CaptureNextFrame();
        graphics.Update();
        return graphics.CapturedFrame();
    };
    const platform::Image plain = draw(false);
    const platform::Image shortened = draw(true);
    ASSERT_EQ(plain.rgba.size(), shortened.rgba.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shortened.rgba.size(); ++i) {
        differing += shortened.rgba[i] != plain.rgba[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0u) << "channels differ";
    golden::ExpectMatchesReference(shortened, GetParam().name, "opaque");
}

INSTANTIATE_TEST_SUITE_P(Shipped, GoldenLevel,
                         testing::Values(ShippedLevel{2, "level_Intro"},
                                         ShippedLevel{19, "level_End2"}),
                         [](const testing::TestParamInfo<ShippedLevel>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
