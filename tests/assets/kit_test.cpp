// The game's own data, read the way the game reads it at start-up: every list and archetype file
// reads without a diagnostic, every sheet decodes with a layout that holds the frames its
// animations play, and the archetypes that code clones or compares by name are all there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/event_bank.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "graphics/texture_lists.h"
#include "input/input_recording.h"
#include "levels/data_reader.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/graphics_device.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"

namespace {

class DecodedSheet : public platform::GpuTexture {
public:
    explicit DecodedSheet(const platform::Image& image)
        : width_(image.width), height_(image.height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }

private:
    int width_, height_;
};

class GameKit : public testing_support::EngineTest {
protected:
    void SetUp() override {
        Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
        SetTextureLoader([this](const platform::Image& image,
                                const platform::TextureOptions&) -> platform::GpuTexture* {
            sheets_.push_back(std::make_unique<DecodedSheet>(image));
            return sheets_.back().get();
        });
        LoadTextureList("TextureList");
        while (LoadNextListedTexture()) {
        }
        LoadAnimationList("AnimationList");
        LoadArchetypes();
    }

    void TearDown() override {
        SetTextureLoader(nullptr);
        Assets::SetRoot("assets");
    }

    testing_support::CapturedDiagnostics diagnostics_;
    std::vector<std::unique_ptr<DecodedSheet>> sheets_;
};

// Every list and archetype file reads without a diagnostic; every animation plays frames of a
// loaded sheet, and every sheet holds only the frames played.
TEST_F(GameKit, EverySheetLoadsPackedWithOnlyTheFramesItsAnimationsPlay) {
    EXPECT_EQ(diagnostics_.Lines(), std::vector<std::string>{});
    ASSERT_GT(TextureTable().Size(), 0u);
    std::map<const Texture*, std::set<unsigned int>> played;
    for (const auto& [name, animation] : AnimationTable()) {
        ASSERT_NE(animation->texture, nullptr) << name;
        EXPECT_GE(animation->frameCount, 1u) << name;
        EXPECT_LE(animation->startFrame + animation->frameCount, 50u) << name;
        EXPECT_GT(animation->frameDuration, 0.0f) << name;
        for (unsigned int f = 0; f < animation->frameCount; ++f) {
            played[animation->texture].insert(animation->startFrame + f);
        }
    }
    for (const auto& [name, texture] : TextureTable()) {
        ASSERT_NE(texture->image, nullptr) << name << " did not load";
        EXPECT_TRUE(texture->layout.IsPacked()) << name;
        for (unsigned int f = 0; f < SheetLayout::kFrames; ++f) {
            EXPECT_EQ(texture->layout.HasFrame(f), played[texture].count(f) == 1)
                << name << " frame " << f;
        }
    }
}

TEST_F(GameKit, ArchetypesTheCodeNamesExistAndEveryPictureResolves) {
    for (const char* name :
         {"Player1", "Face", "StarEnd", "Crate", "BreakBlock", "Movable", "Catapult"}) {
        EXPECT_TRUE(ArchetypeTable().Contains(name)) << name;
    }
    for (const char* form : {"VorlFull", "VorlHalf"}) {
        EXPECT_TRUE(AnimationTable().Contains(form)) << form;
    }
    for (const auto& [name, archetype] : ArchetypeTable()) {
        EXPECT_FALSE(archetype->GetComponents().Empty()) << name << " has no components";
        if (auto* texture = archetype->Get<TextureComponent>("TextureComponent")) {
            EXPECT_TRUE(AnimationTable().Contains(texture->filename))
                << name << " shows the missing animation " << texture->filename;
        }
    }
}

// The package installs exactly packaging/data_files: it must hold every file the data names (the
// archetypes, pictures, levels, sounds and recordings) and the files the game opens by fixed
// name, and nothing else (no autosave, backup or designer's level).
TEST_F(GameKit, ThePackagesDataListIsWhatTheGameReads) {
    std::set<std::string> named = {"Objects",   "TextureList",    "AnimationList",
                                   "SoundBank", "PixelShader.fx", "Vorl1.ico"};
    for (const auto& [name, archetype] : ArchetypeTable()) {
        named.insert(name);
    }
    for (const auto& [name, texture] : TextureTable()) {
        named.insert(name + ".png");
    }
    for (const std::string& level : LevelManager::LevelTable()) {
        named.insert(level);
    }
    std::ifstream bank(Assets::PathOf("SoundBank"), std::ios::binary);
    const std::string bankText(std::istreambuf_iterator<char>(bank), {});
    for (const EventDescription& event : ParseEventBank(bankText, "SoundBank")) {
        for (const std::string& file : event.files) {
            named.insert("Sounds/" + file);
        }
    }
    for (const auto& folder : std::filesystem::directory_iterator(Assets::Current().shipped)) {
        const std::string name = folder.path().filename().string();
        if (name.starts_with("Level") && name.ends_with("Input") && folder.is_directory()) {
            for (const std::string& file :
                 InputRecording::ListRecordings(folder.path().string() + "/")) {
                named.insert(name + "/" + std::filesystem::path(file).filename().string());
            }
        }
    }
    std::set<std::string> listed;
    std::ifstream list(std::string(VORL_SOURCE_DIR) + "/packaging/data_files");
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.front() != '#') {
            listed.insert(line);
        }
    }
    EXPECT_EQ(listed, named);
}

}  // namespace
