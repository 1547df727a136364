// Sheets read from real PNG files: a packed sheet brings its layout from its text chunk, an old
// full sheet reads as the grid, a listed sheet is read on first use or by the queue, once, and a
// big picture is read only while it is shown.
#include "graphics/texture.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <vector>

#include "core/messaging.h"
#include "graphics/graphics_system.h"
#include "graphics/recording_device.h"
#include "graphics/texture_component.h"
#include "objects/object.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"
#include "support/render_scene.h"
#include "support/scripted_window.h"

namespace {

// Stands for every texture the renderer is handed.
struct Uploaded : platform::GpuTexture {
    int Width() const override { return 1; }
    int Height() const override { return 1; }
};

platform::Image Filled(int width, int height, std::uint8_t alpha) {
    platform::Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<std::size_t>(width) * height * 4, alpha);
    return image;
}

class TextureTest : public testing_support::EngineTest {
protected:
    TextureTest() {
        FakeUploads();
        previous_ = std::cout.rdbuf(out_.rdbuf());
    }
    ~TextureTest() override {
        std::cout.rdbuf(previous_);
        SetTextureLoader(nullptr);
    }

    // Stands in for the renderer's uploads (a renderer made since installed its own).
    void FakeUploads() {
        SetTextureLoader(
            [this](const platform::Image&,
                   const platform::TextureOptions& options) -> platform::GpuTexture* {
                mipmaps_.push_back(options.mipmaps);
                return &uploaded_;
            },
            [this](platform::GpuTexture*) { ++released_; });
    }

    std::string PathOf(const std::string& name) const {
        return (assets_.Folder() / (name + ".png")).string();
    }

    testing_support::TempAssets assets_;
    Uploaded uploaded_;
    // Whether each upload asked for mip levels, in upload order.
    std::vector<bool> mipmaps_;
    int released_ = 0;
    std::ostringstream out_;
    std::streambuf* previous_ = nullptr;
};

TEST_F(TextureTest,
       APackedSheetBringsItsLayoutAnOldFullSheetReadsAsTheGridAndNoRendererDecodesNothing) {
    ASSERT_TRUE(platform::WritePngRgba(PathOf("packed"), Filled(68, 36, 255), "Vorl sheet",
                                       "quad 32 32\nframe 4 2 2 32 32\nmipmaps\n"));
    ASSERT_TRUE(platform::WritePngRgba(PathOf("full"), Filled(320, 160, 0)));
    Texture* packed = LoadTexture("packed");
    Texture* full = LoadTexture("full");
    ASSERT_NE(packed->image, nullptr);
    EXPECT_TRUE(packed->layout.IsPacked());
    EXPECT_TRUE(mipmaps_[0]);
    EXPECT_EQ(packed->decodedBytes, 68u * 36u * 4u);

    ASSERT_NE(full->image, nullptr);
    EXPECT_FALSE(full->layout.IsPacked());
    EXPECT_TRUE(full->layout.HasFrame(0));
    EXPECT_FALSE(mipmaps_[1]);
    EXPECT_EQ(DecodedTextureBytes(), 68u * 36u * 4u + 320u * 160u * 4u);

    // Without a renderer nothing is decoded.
    SetTextureLoader(nullptr);
    ASSERT_TRUE(platform::WritePngRgba(PathOf("bare"), Filled(20, 10, 255)));
    const Texture* bare = LoadTexture("bare");
    EXPECT_EQ(bare->image, nullptr);
    EXPECT_EQ(bare->decodedBytes, 0u);
    EXPECT_NE(out_.str().find("Texture bareNot properly loaded\n"), std::string::npos);
}

TEST_F(TextureTest, AListedSheetIsReadOnFirstUseOrInListOrderAndOnlyOnce) {
    for (const char* name : {"first", "second", "third"}) {
        ASSERT_TRUE(platform::WritePngRgba(PathOf(name), Filled(20, 10, 255)));
    }
    for (const char* name : {"first", "second", "third", "missing", "first"}) {
        ListTexture(name);
    }
    EXPECT_TRUE(mipmaps_.empty());
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(ListedTexturesWaiting(), 4u);

    // An object drawn before the queue gets there reads its sheet on the spot.
    AddAnimation("third", "third", 0, 1, 0.0f);
    TextureComponent texture;
    texture.SetAnimation("third");
    EXPECT_NE(texture.GetImage(), nullptr);
    EXPECT_EQ(ListedTexturesWaiting(), 3u);

    while (LoadNextListedTexture()) {
    }
    EXPECT_EQ(ListedTexturesWaiting(), 0u);
    EXPECT_EQ(mipmaps_.size(), 3u);
    EXPECT_EQ(out_.str(),
              "Texture third loaded\nTexture first loaded\nTexture second loaded\n"
              "Texture missingNot properly loaded\n");
    EXPECT_FALSE(LoadNextListedTexture());
    // Loaded again, a sheet keeps its first entry.
    Texture* first = TextureTable().Get("first");
    EXPECT_EQ(LoadTexture("first"), first);
}

TEST_F(TextureTest, BigPicturesAreReadWhenShownAndReleasedAfterALevelWithoutThem) {
    ASSERT_TRUE(platform::WritePngRgba(PathOf("big"), Filled(600, 600, 255)));  // 1.4 MB
    ASSERT_TRUE(platform::WritePngRgba(PathOf("small"), Filled(16, 16, 255)));
    testing_support::RecordingDevice device;
    testing_support::ScriptedWindow window;
    GraphicsSystem graphics(device, window);
    FakeUploads();
    Texture* big = ListTexture("big");
    Texture* small = ListTexture("small");
    AddAnimation("big", "big", 0, 1, 0.0f);
    AddAnimation("small", "small", 0, 1, 0.0f);
    const auto frame = [&graphics] { testing_support::RenderFrame(graphics); };
    const auto startLevel = [&frame] {
        MessagingSystem::Send<LevelStartedMessage>("next");
        frame();
    };
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    startLevel();
    testing_support::MakeSprite("small", {0.0f, 0.0f}, {8.0f, 8.0f}, 3.0f);
    frame();
    // Read ahead: the small sheet only.
    EXPECT_NE(small->image, nullptr);
    EXPECT_TRUE(big->listed);
    EXPECT_EQ(ListedTexturesWaiting(), 0u);
    // Shown, the big picture is read; it stays through the next level start.
    Object* picture = testing_support::MakeSprite("big", {0.0f, 0.0f}, {300.0f, 300.0f}, 1.0f);
    frame();
    EXPECT_NE(big->image, nullptr);
    picture->SetVisible(false);
    startLevel();
    EXPECT_NE(big->image, nullptr);
    // A whole level without it: released at the next start, and read again when shown again.
    startLevel();
    EXPECT_EQ(released_, 1);
    EXPECT_EQ(big->image, nullptr);
    EXPECT_EQ(big->decodedBytes, 0u);
    EXPECT_NE(small->image, nullptr);
    picture->SetVisible(true);
    frame();
    EXPECT_NE(big->image, nullptr);
}

}  // namespace
