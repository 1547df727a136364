// The settings file: unbound bindings' round trip, lines of a newer version kept, a damaged file
// (defaults, one line, the file moved aside), where it lives, and the mute switches an older
// version kept in the progress file carried over once.
#include "meta/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/asset_folder.h"

namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
    ~SettingsTest() override { SettingsKeeper::Disable(); }
    void Write(const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    testing_support::TempAssets scratch;
    const fs::path folder = scratch.Folder();
    const fs::path file = folder / "vorl" / "settings";
};

// Every other setting's round trip is the settings model's; no rebinding there leaves a key or a
// pad button unbound.
TEST_F(SettingsTest, UnboundKeysAndPadButtonsReadBackAsSaved) {
    Settings settings;
    settings.keys["jump"] = {0x20, 0};
    settings.padButtons["pause"] = 0;
    ASSERT_TRUE(SettingsFile::Save(file, settings));
    EXPECT_EQ(SettingsFile::Load(file), settings) << SettingsFile::Format(settings);
}

TEST_F(SettingsTest, LinesOfANewerVersionAreKeptAndWrittenBack) {
    Write("vorl settings 1\nmusic-volume 40\nmouse-look on\n\ncolour-blind on\n");
    const Settings settings = SettingsFile::Load(file);
    EXPECT_EQ(settings.musicVolume, 40);
    EXPECT_EQ(settings.unknownLines,
              (std::vector<std::string>{"mouse-look on", "colour-blind on"}));
    const std::string saved = SettingsFile::Format(settings);
    EXPECT_NE(saved.find("\nmouse-look on\ncolour-blind on\n"), std::string::npos) << saved;
}

// Every fault is said in one line naming the file and line. A damaged file gives the defaults and
// is kept aside; a binding naming no key or button drops only that binding.
TEST_F(SettingsTest, AFaultIsSaidInOneLineAndADamagedFileIsKeptAside) {
    const std::string binding = "vorl settings 1\nshow-timer on\n";
    const struct {
        std::string text;
        const char* said;
        bool damaged = true;
    } cases[] = {
        {"not settings at all\n", "line 1"},
        {"vorl settings 1\nmusic-volume 55\n", "line 2"},
        {"vorl settings 1\nshow-timer on\neffects-volume 200\n", "line 3"},
        {"vorl settings 1\nfull-screen maybe\n", "line 2"},
        {"vorl settings 1\nmusic-volume 10 20\n", "line 2"},
        {"vorl settings 1\nsound -1\n", "line 2"},
        {"", "line 1"},
        {binding + "key jump Z\n", "line 3: \"Z\" is not a key code", false},
        {binding + "key jump 0x100\n", "line 3: \"0x100\" is not a key code", false},
        {binding + "key jump 0x57 0x26 0x20\n", "line 3: \"0x20\" is not a key code", false},
        {binding + "pad jump triangle\n", "line 3: \"triangle\" is not a pad button", false},
        {binding + "pad jump\n", "line 3: \"pad jump\" names no pad button", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Write(c.text + (c.damaged ? "" : "key down 0x4B none\n"));
        testing::internal::CaptureStderr();
        const Settings loaded = SettingsFile::Load(file);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find(file.string() + ": " + c.said), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(fs::exists(file), !c.damaged);
        if (c.damaged) {
            EXPECT_EQ(loaded, Settings{});
            EXPECT_TRUE(fs::exists(folder / "vorl" / "settings.damaged"));
        } else {
            EXPECT_TRUE(loaded.showTimer);
            EXPECT_EQ(loaded.keys.count("jump") + loaded.padButtons.count("jump"), 0u);
            EXPECT_EQ(loaded.keys.at("down"), (std::array<int, 2>{0x4B, 0}));
        }
    }
}

TEST_F(SettingsTest, TheFileLivesInTheConfigFolder) {
    EXPECT_EQ(SettingsFile::Location("/c", "/h"), fs::path("/c/vorl/settings"));
    EXPECT_EQ(SettingsFile::Location("", "/h"), fs::path("/h/.config/vorl/settings"));
    EXPECT_EQ(SettingsFile::Location("relative", "/h"), fs::path("/h/.config/vorl/settings"))
        << "a relative XDG path is ignored, as the XDG rules say";
    EXPECT_EQ(SettingsFile::Location("", ""), fs::path());
}

TEST_F(SettingsTest, OldMuteSwitchesCarryOverOnceAndChangesAreSaved) {
    SettingsKeeper::Enable(file, true, false);
    EXPECT_TRUE(SettingsKeeper::Current().musicOff);
    ASSERT_TRUE(fs::exists(file)) << "carried over into a file of its own";
    SettingsKeeper::Change([](Settings& s) {
        s.musicOff = false;
        s.effectsVolume = StepVolume(s.effectsVolume, -3);
    });
    SettingsKeeper::Enable(file, true, true);  // the next launch, the old progress unchanged
    EXPECT_FALSE(SettingsKeeper::Current().musicOff) << "carried over only once";
    EXPECT_FALSE(SettingsKeeper::Current().soundOff);
    EXPECT_EQ(SettingsKeeper::Current().effectsVolume, 70);
}

}  // namespace
