#include "graphics/texture_component.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/frame_rate_controller.h"
#include "graphics/texture.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

class TextureComponentTest : public testing_support::EngineTest {
protected:
    TextureComponent& Playing(const std::string& animation) {
        component_.SetAnimation(animation);
        return component_;
    }

    TextureComponent component_;
};

TEST_F(TextureComponentTest, LoopsThroughItsFramesWithTheirOffsets) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    TextureComponent& texture = Playing("walk");
    EXPECT_EQ(texture.GetCurrentFrame(), 12u);
    FrameRateController::UseStep(0.1);
    const unsigned int expectedFrames[] = {13, 14, 12, 13};
    const float expectedU[] = {0.3f, 0.4f, 0.2f, 0.3f};
    for (int i = 0; i < 4; ++i) {
        texture.Update();
        EXPECT_EQ(texture.GetCurrentFrame(), expectedFrames[i]) << "step " << i;
        EXPECT_FLOAT_EQ(texture.GetUOffset(), expectedU[i]) << "step " << i;
        EXPECT_FLOAT_EQ(texture.GetVOffset(), 0.2f) << "step " << i;
    }
}

TEST_F(TextureComponentTest, AdvancesAtMostOneFramePerStep) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    TextureComponent& texture = Playing("walk");
    FrameRateController::UseStep(0.25);
    texture.Update();
    EXPECT_EQ(texture.GetCurrentFrame(), 13u);
    // The excess 0.15 s was dropped: a short step does not advance.
    FrameRateController::UseStep(0.05);
    texture.Update();
    EXPECT_EQ(texture.GetCurrentFrame(), 13u);
}

// Frozen, single-frame and empty runs, a paused animation and one whose name is missing all hold
// their frame; the missing one keeps its name and frame but has no texture.
TEST_F(TextureComponentTest, StillAnimationsNeverAdvance) {
    AddAnimation("frozen", "sheet", 7, 3, 0.0f);
    AddAnimation("still", "sheet", 9, 1, 0.1f);
    AddAnimation("empty", "sheet", 4, 0, 0.1f);
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    FrameRateController::UseStep(1.0);
    for (const char* name : {"frozen", "still", "empty", "paused", "missing"}) {
        TextureComponent& texture = Playing(name[0] == 'p' || name[0] == 'm' ? "walk" : name);
        texture.SetPlaying(name[0] != 'p');
        if (name[0] == 'm') {
            texture.SetAnimation("nothing here");
            EXPECT_EQ(texture.GetAnimation(), nullptr);
            EXPECT_EQ(texture.filename, "walk");
            EXPECT_EQ(texture.GetTexture(), nullptr);
        }
        const unsigned int start = texture.GetCurrentFrame();
        for (int i = 0; i < 5; ++i) {
            texture.Update();
        }
        EXPECT_EQ(texture.GetCurrentFrame(), start) << name;
    }
}

TEST_F(TextureComponentTest, ChangingTheFilenameSwitchesOnTheNextStep) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    AddAnimation("jump", "sheet", 30, 2, 0.1f);
    TextureComponent& texture = Playing("walk");
    texture.filename = "jump";
    FrameRateController::UseStep(0.01);
    texture.Update();
    EXPECT_EQ(texture.GetAnimation(), AnimationTable().Get("jump"));
    EXPECT_EQ(texture.GetCurrentFrame(), 30u);
    EXPECT_FLOAT_EQ(texture.GetVOffset(), 0.6f);
}

// (u, v, 1, 0) through the texture matrix: the cell's own coordinates shifted to the frame's cell
// of the ten by five sheet; one past the sheet wraps the column and runs off the bottom.
TEST_F(TextureComponentTest, TheTextureMatrixShiftsToTheFramesCell) {
    for (const auto& [frame, u, v] : {std::tuple{49, 0.9025f, 0.8025f}, {50, 0.0025f, 1.0025f}}) {
        const std::string name = "cell" + std::to_string(frame);
        AddAnimation(name, "sheet", static_cast<unsigned int>(frame), 1, 0.0f);
        const Vector4D shifted = Transform({0.0025f, 0.0025f, 1.0f}, Playing(name).TextureMatrix());
        EXPECT_NEAR(shifted.x, u, 1e-6f) << frame;
        EXPECT_NEAR(shifted.y, v, 1e-6f) << frame;
    }
}

TEST_F(TextureComponentTest, CompletionAndCloneResolveTheLoadedFilename) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    auto* source = new Object;
    auto* texture = new TextureComponent;
    texture->filename = "walk";
    source->AddComponent("TextureComponent", texture);
    EXPECT_EQ(texture->GetAnimation(), nullptr);
    CompleteObjectTexture(*source);
    EXPECT_EQ(texture->GetAnimation(), AnimationTable().Get("walk"));

    Object* copy = source->Clone();
    auto* copied = copy->Get<TextureComponent>("TextureComponent");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->filename, "walk");
    EXPECT_EQ(copied->GetAnimation(), AnimationTable().Get("walk"));
    EXPECT_EQ(copied->GetCurrentFrame(), 12u);
    source->Destroy();
}

}  // namespace
