#include "graphics/texture_component.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/frame_rate_controller.h"
#include "graphics/texture.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

using TextureComponentTest = testing_support::EngineTest;

// The frame shown after each step: a step advances at most one frame and its excess is dropped;
// frozen, single-frame, empty and paused runs hold their frame.
TEST_F(TextureComponentTest, AdvancesAtMostOneFramePerStepAndLoops) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    AddAnimation("frozen", "sheet", 7, 3, 0.0f);
    AddAnimation("still", "sheet", 9, 1, 0.1f);
    AddAnimation("empty", "sheet", 4, 0, 0.1f);
    struct Run {
        const char* animation;
        bool playing;
        std::vector<double> steps;
        std::vector<unsigned int> frames;
    };
    const Run runs[] = {
        {"walk", true, {0.1, 0.1, 0.1, 0.1}, {13, 14, 12, 13}},
        {"walk", true, {0.25, 0.05}, {13, 13}},
        {"walk", false, {1.0, 1.0}, {12, 12}},
        {"frozen", true, {1.0, 1.0}, {7, 7}},
        {"still", true, {1.0, 1.0}, {9, 9}},
        {"empty", true, {1.0, 1.0}, {4, 4}},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.animation);
        TextureComponent texture;
        texture.SetAnimation(run.animation);
        texture.SetPlaying(run.playing);
        for (std::size_t i = 0; i < run.steps.size(); ++i) {
            FrameRateController::UseStep(run.steps[i]);
            texture.Update();
            EXPECT_EQ(texture.GetCurrentFrame(), run.frames[i]) << "step " << i;
        }
    }
}

// A new filename switches on the next step; a missing name keeps the name and the frame but has
// no texture.
TEST_F(TextureComponentTest, ChangingTheFilenameSwitchesOnTheNextStepAndAMissingOneHoldsItsFrame) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    AddAnimation("jump", "sheet", 30, 2, 0.1f);
    TextureComponent texture;
    texture.SetAnimation("walk");
    texture.filename = "jump";
    FrameRateController::UseStep(0.01);
    texture.Update();
    EXPECT_EQ(texture.GetAnimation(), AnimationTable().Get("jump"));
    EXPECT_EQ(texture.GetCurrentFrame(), 30u);
    texture.SetAnimation("nothing here");
    EXPECT_EQ(texture.GetAnimation(), nullptr);
    EXPECT_EQ(texture.filename, "jump");
    EXPECT_EQ(texture.GetTexture(), nullptr);
    FrameRateController::UseStep(1.0);
    texture.Update();
    EXPECT_EQ(texture.GetCurrentFrame(), 30u);
}

// (u, v, 1, 0) through the texture matrix: the cell's own coordinates shifted to the frame's cell
// of the ten by five sheet; one past the sheet wraps the column and runs off the bottom.
TEST_F(TextureComponentTest, TheTextureMatrixShiftsToTheFramesCell) {
    for (const auto& [frame, u, v] : {std::tuple{49, 0.9025f, 0.8025f}, {50, 0.0025f, 1.0025f}}) {
        const std::string name = "cell" + std::to_string(frame);
        AddAnimation(name, "sheet", static_cast<unsigned int>(frame), 1, 0.0f);
        TextureComponent texture;
        texture.SetAnimation(name);
        const Vector4D shifted = Transform({0.0025f, 0.0025f, 1.0f}, texture.TextureMatrix());
        EXPECT_NEAR(shifted.x, u, 1e-6f) << frame;
        EXPECT_NEAR(shifted.y, v, 1e-6f) << frame;
    }
}

// Sprites made in tests resolve theirs through CompleteObjectTexture (support/render_scene).
TEST_F(TextureComponentTest, ACloneResolvesTheLoadedFilename) {
    AddAnimation("walk", "sheet", 12, 3, 0.1f);
    Object* source = MakeLevelObject("source");
    auto* texture = new TextureComponent;
    texture->filename = "walk";
    source->AddComponent("TextureComponent", texture);
    auto* copied = source->Clone()->Get<TextureComponent>("TextureComponent");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->GetAnimation(), AnimationTable().Get("walk"));
    EXPECT_EQ(copied->GetCurrentFrame(), 12u);
}

}  // namespace
