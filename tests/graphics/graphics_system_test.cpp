#include "graphics/graphics_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/messaging.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/recording_device.h"
#include "graphics/screen_text.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "input/input_system.h"
#include "objects/graveyard.h"
#include "objects/level_manager.h"
#include "objects/object.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"
#include "support/render_scene.h"
#include "support/scripted_window.h"

namespace {

using testing_support::MakeSprite;
using testing_support::MakeSquare;
using testing_support::RecordingDevice;

class GraphicsSystemTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        graphics_ = std::make_unique<GraphicsSystem>(device_, window_);
        AddAnimation("walk", "sheet", 12, 3, 0.05f);
    }

    void Frame(const std::vector<std::pair<int, bool>>& keys = {}) {
        testing_support::RenderFrame(*graphics_, keys);
    }

    static long CountSent(MessageType type) {
        return std::ranges::count(MessagingSystem::GetMessages(), type,
                                  [](const auto& message) { return message->type; });
    }

    RecordingDevice device_;
    testing_support::ScriptedWindow window_;
    std::unique_ptr<GraphicsSystem> graphics_;
};

TEST_F(GraphicsSystemTest, BetweenTwoLevelsTheLastFrameStaysInsteadOfAnEmptyOne) {
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Object* old = MakeSprite("walk", {0.0f, 0.0f}, {50.0f, 50.0f}, 3.0f);
    Frame();
    Frame();
    ASSERT_EQ(device_.quads.size(), 1u);
    const int presents = device_.presents;
    // As a restart does: the old level goes in the step that reads ClearLevel, the new level's
    // pictures join in the step after its objects are loaded.
    MessagingSystem::Send<ClearLevelMessage>();
    Frame();
    old->Destroy();
    Frame();
    EXPECT_EQ(device_.presents, presents) << "no empty frame is presented";
    MakeSprite("walk", {10.0f, 0.0f}, {50.0f, 50.0f}, 3.0f);
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
    Frame();
    EXPECT_EQ(device_.presents, presents + 1);
    EXPECT_EQ(device_.quads.size(), 1u) << "the first frame presented shows the new level";
    // A clear that no level follows (an editor's empty view) holds only for a moment.
    MessagingSystem::Send<ClearLevelMessage>();
    for (int i = 0; i < GraphicsSystem::kMostFramesHeld; ++i) {
        Frame();
    }
    EXPECT_EQ(device_.presents, presents + 1);
    Frame();
    EXPECT_EQ(device_.presents, presents + 2);
}

TEST_F(GraphicsSystemTest, OnlyTheLoadingTextShowsUntilTheArchetypesAreLoaded) {
    MakeSprite("walk", {0.0f, 0.0f}, {50.0f, 50.0f}, 3.0f);
    MakeSquare({10.0f, 0.0f}, {50.0f, 50.0f}, 3.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    Frame();
    Frame();
    EXPECT_TRUE(device_.quads.empty());
    ASSERT_EQ(device_.texts.size(), 1u);
    EXPECT_EQ(device_.texts[0].text, "Loading Vorl Game");
    EXPECT_EQ(device_.texts[0].x, 800);
    EXPECT_EQ(device_.texts[0].y, 450 - ScreenText::kLineHeight / 2) << "centred both ways";
    EXPECT_EQ(device_.clears, std::vector<platform::Argb>{0xFF000000u});
    EXPECT_EQ(device_.presents, 2);

    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    EXPECT_EQ(device_.quads.size(), 2u);
    EXPECT_TRUE(device_.texts.empty());
    EXPECT_EQ(device_.clears, std::vector<platform::Argb>{0x00000000u});
}

TEST_F(GraphicsSystemTest, TexturedObjectsDrawBeforeSquaresInCreationOrder) {
    Object* square = MakeSquare({0.0f, 0.0f}, {5.0f, 5.0f}, 1.0f, 0.25f, 0.5f, 0.75f, 1.0f);
    Object* first = MakeSprite("walk", {100.0f, 0.0f}, {5.0f, 5.0f}, 7.0f);
    Object* second = MakeSprite("walk", {-100.0f, 0.0f}, {5.0f, 5.0f}, 3.0f);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    ASSERT_EQ(device_.quads.size(), 3u);
    EXPECT_EQ(device_.quads[0].world, first->GetTransform().BuildWorldMatrix());
    EXPECT_EQ(device_.quads[1].world, second->GetTransform().BuildWorldMatrix());
    EXPECT_EQ(device_.quads[0].fill, platform::QuadDraw::Fill::Texture);
    EXPECT_EQ(device_.quads[2].world, square->GetTransform().BuildWorldMatrix());
    EXPECT_EQ(device_.quads[2].technique, "Tint");
}

TEST_F(GraphicsSystemTest, APackedSheetDrawsItsFramesSlicedWhenBiggerAndSkipsItsEmptyCells) {
    // A 64 x 32 slab with an 8-pixel rim left and right and 4 top and bottom; cell 1 is empty.
    auto* slab = new Texture;
    slab->name = "slab";
    slab->layout =
        SheetLayout::Read("quad 64 32\nframe 0 2 2 64 32\nslice 8 8 4 4\n", 68, 36, "slab.png");
    TextureTable().Insert("slab", slab);
    AddAnimation("slab", "slab", 0, 1, 0.0f);
    AddAnimation("gap", "slab", 1, 1, 0.0f);
    MakeSprite("slab", {0.0f, 0.0f}, {32.0f, 16.0f}, 3.0f);
    MakeSprite("slab", {0.0f, 100.0f}, {-96.0f, 8.0f}, 3.0f);
    MakeSprite("gap", {0.0f, -100.0f}, {32.0f, 16.0f}, 3.0f);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    ASSERT_EQ(device_.quads.size(), 2u);
    // At the size it was made the picture is drawn whole.
    EXPECT_FALSE(device_.quads[0].slice);
    EXPECT_EQ(device_.quads[0].textureMatrix, slab->layout.FrameMatrix(0));
    // Three times as wide (flipped), half as tall; the rims are the golden "sliced" scene's.
    ASSERT_TRUE(device_.quads[1].slice);
    EXPECT_FLOAT_EQ(device_.quads[1].slice->repeatX, 3.0f);
    EXPECT_FLOAT_EQ(device_.quads[1].slice->repeatY, 0.5f);
}

TEST_F(GraphicsSystemTest, ListedSheetsAreReadOnceTheFirstScreenShowsAndWhatItDrawsFirst) {
    testing_support::CapturedDiagnostics quiet;
    testing::internal::CaptureStdout();
    for (const char* name : {"early", "late", "shown"}) {
        ListTexture(name);
    }
    AddAnimation("shown", "shown", 0, 1, 0.0f);
    // The loading screen, then a level that draws nothing: no sheet is read yet.
    Frame();
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    Frame();
    EXPECT_EQ(ListedTexturesWaiting(), 3u);
    // The first frame that shows something reads what it draws, then the rest after presenting.
    MakeSprite("shown", {0.0f, 0.0f}, {50.0f, 50.0f}, 3.0f);
    Frame();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ListedTexturesWaiting(), 0u);
    EXPECT_EQ(out.find("Texture shown"), 0u) << out;
}

// Hidden objects are neither drawn nor animated.
TEST_F(GraphicsSystemTest, CulledObjectsAreSkippedYetAnimateOncePerStepInAnyNumberOfViews) {
    Object* hidden = MakeSprite("walk", {0.0f, 0.0f}, {5.0f, 5.0f}, 3.0f);
    hidden->SetVisible(false);
    // Left edge at 1601: just past the cull rectangle of the default camera.
    Object* far = MakeSprite("walk", {1611.0f, 0.0f}, {10.0f, 10.0f}, 3.0f);
    Object* near = MakeSprite("walk", {1610.0f, 0.0f}, {10.0f, 10.0f}, 3.0f);
    MakeSquare({0.0f, 900.5f}, {5.0f, 5.0f}, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    MakeSquare({0.0f, 900.0f}, {5.0f, 5.0f}, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    // A second view on the first camera: `near` is in both views' cull boxes.
    CameraView second(ViewList().front()->camera);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    // The frame that reads ArchetypesLoaded, then two 1/60 s steps past each 0.05 s frame.
    for (int i = 0; i < 7; ++i) {
        Frame();
    }
    EXPECT_EQ(device_.quads.size(), 2u * 2u) << "each view draws the two inside";
    for (Object* sprite : {far, near, hidden}) {
        EXPECT_EQ(sprite->Get<TextureComponent>("TextureComponent")->GetCurrentFrame(),
                  sprite == hidden ? 12u : 14u);
    }
    // What is drawn is the frame shown: the quad's corner lands on cell 14's (column 4, row 1).
    const Vector4D corner = Transform({0.0f, 0.0f, 1.0f}, device_.quads[0].textureMatrix);
    EXPECT_EQ(Vector2D(corner.x, corner.y), Vector2D(0.4f, 0.2f));
}

TEST_F(GraphicsSystemTest, ListsFollowOwnersAndArchetypes) {
    auto* archetype = new Object;
    archetype->SetArchetype(true);
    archetype->AddComponent("TextureComponent", new TextureComponent);
    archetype->AddComponent("ColoredSquareComponent", new ColoredSquareComponent);
    Object* sprite = MakeSprite("walk", {0.0f, 0.0f}, {5.0f, 5.0f}, 3.0f);
    MakeSquare({0.0f, 0.0f}, {5.0f, 5.0f}, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    // Announced without an owner: never listed.
    auto* orphan = new TextureComponent;
    Frame();
    // Archetype textures are kept (invisible until shown); archetype squares are not.
    EXPECT_EQ(graphics_->TextureComponents().Size(), 2u);
    EXPECT_EQ(graphics_->ColoredSquares().Size(), 1u);

    sprite->Destroy();
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    EXPECT_EQ(graphics_->TextureComponents().Size(), 1u);
    Graveyard::Bury(orphan);
    archetype->Destroy();
}

TEST_F(GraphicsSystemTest, HiddenWindowIsALostDeviceTogglingOnceEachWay) {
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    const int presents = device_.presents;
    window_.hidden = true;
    Frame();
    EXPECT_TRUE(graphics_->DeviceLost());
    Frame();
    EXPECT_EQ(CountSent(MessageType::DeviceLostToggle), 1);
    Frame();
    EXPECT_EQ(CountSent(MessageType::DeviceLostToggle), 0);
    EXPECT_EQ(device_.presents, presents);
    window_.hidden = false;
    Frame();
    EXPECT_FALSE(graphics_->DeviceLost());
    EXPECT_EQ(device_.presents, presents + 1);
    Frame();
    EXPECT_EQ(CountSent(MessageType::DeviceLostToggle), 1);
}

TEST_F(GraphicsSystemTest, F1TogglesTheStatisticsOverlay) {
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    MakeSprite("walk", {0.0f, 0.0f}, {5.0f, 5.0f}, 3.0f);
    Frame();
    EXPECT_TRUE(device_.texts.empty());
    // The key's command is read the step after the press.
    Frame({{VirtualKey::F1, true}});
    EXPECT_FALSE(graphics_->DebugOverlay());
    Frame();
    EXPECT_TRUE(graphics_->DebugOverlay());
    ASSERT_EQ(device_.texts.size(), 1u);
    const std::string& text = device_.texts[0].text;
    EXPECT_EQ(text.rfind("FPS: ", 0), 0u) << text;
    EXPECT_NE(text.find("Objects: 1"), std::string::npos) << text;
    // Released and pressed again: off.
    Frame({{VirtualKey::F1, false}});
    Frame();
    Frame({{VirtualKey::F1, true}});
    Frame();
    EXPECT_FALSE(graphics_->DebugOverlay());
    EXPECT_TRUE(device_.texts.empty());
}

TEST_F(GraphicsSystemTest, SelectedObjectsCarryALabel) {
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Object* sprite = MakeSprite("walk", {120.0f, 40.0f}, {5.0f, 5.0f}, 3.0f);
    sprite->SetSelected(true);
    sprite->GetInfoStream() << "Position: (120, 40)";
    MainCamera()->SetPosition({20.0f, 10.0f});
    Frame();
    ASSERT_EQ(device_.texts.size(), 1u);
    EXPECT_EQ(device_.texts[0].text, "Position: (120, 40)");
    // 120 + 800 - 20 across, 450 - 40 + 10 down.
    EXPECT_EQ(device_.texts[0].x, 900);
    EXPECT_EQ(device_.texts[0].y, 420);
}

// A level start leaves one view on a default camera.
TEST_F(GraphicsSystemTest, LevelStartResetsTheCameras) {
    MainCamera()->SetPosition({300.0f, 200.0f});
    MainCamera()->SetZoom(2.0f);
    new CameraView(new Camera(1.0f, 1.0f, 20.0f));
    delete new Camera(1.0f, 2.0f, 30.0f);
    ASSERT_TRUE(LevelManager::GetHooks().resetCameras);
    LevelManager::GetHooks().resetCameras();
    ASSERT_EQ(CameraList().size(), 1u);
    ASSERT_EQ(ViewList().size(), 1u);
    EXPECT_EQ(ViewList().front()->camera, MainCamera());
    EXPECT_EQ(MainCamera()->GetPosition(), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(MainCamera()->transform.GetZLayer(), 50.0f);
    EXPECT_EQ(MainCamera()->GetZoom(), 1.0f);
}

TEST_F(GraphicsSystemTest, ScreenshotWithoutABackBufferWritesNothing) {
    EXPECT_EQ(graphics_->SaveScreenshot(), "");
}

TEST_F(GraphicsSystemTest, FailedEffectLeavesSquaresUntinted) {
    device_.effectError = "0:3(1): error: syntax error";
    graphics_.reset();
    testing::internal::CaptureStderr();
    graphics_ = std::make_unique<GraphicsSystem>(device_, window_);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Shader Compile Error..."), std::string::npos) << errors;
    EXPECT_NE(errors.find("syntax error"), std::string::npos) << errors;
    EXPECT_FALSE(graphics_->TintAvailable());
    MakeSquare({0.0f, 0.0f}, {5.0f, 5.0f}, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    Object* plain = MakeLevelObject("plain");
    plain->SetVisible(true);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    // The square is skipped, not drawn in the quad's raw colours; a bare object still is.
    EXPECT_TRUE(device_.quads.empty());
    graphics_->DrawObject(*plain, nullptr, *ViewList().front());
    ASSERT_EQ(device_.quads.size(), 1u);
    EXPECT_EQ(device_.quads[0].fill, platform::QuadDraw::Fill::VertexColour);
}

}  // namespace
