// Where the data is found and how a data name becomes a file: a working copy, an installed game
// with the player's own saves in front of the shipped data, and names that try to leave both.
#include "meta/assets.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/asset_folder.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file, const std::string& text = "") {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// A scratch tree standing for a machine: a home, an installed prefix, a folder the game is
// started from. Every test leaves the folders as it found them.
class AssetsTest : public ::testing::Test {
protected:
    AssetsTest() : previous_(Assets::Current()) {
        around.home = (root() / "home").string();
        around.executable = root() / "usr" / "bin" / "vorl";
        around.workingFolder = root() / "somewhere";
        fs::create_directories(around.workingFolder);
    }
    ~AssetsTest() override { Assets::Use(previous_); }

    const fs::path& root() const { return scratch_.Folder(); }
    fs::path Home() const { return around.home; }
    void InstallData() { Touch(root() / "usr" / "share" / "vorl" / "Objects"); }

    // An installed layout: shipped data in the prefix, the player's saves in their own folder.
    Assets::Folders Installed() const {
        return {root() / "usr" / "share" / "vorl", Home() / "vorl-saves", Home() / "vorl",
                Home() / "shots"};
    }

    Assets::Surroundings around;

private:
    testing_support::TempAssets scratch_;
    Assets::Folders previous_;
};

TEST_F(AssetsTest, InstalledDataIsFoundBesideTheProgramAndThePlayersFilesGoToTheirOwnFolders) {
    InstallData();
    Touch(around.workingFolder / "assets" / "Objects");  // somebody else's folder: not taken
    const auto folders = Assets::Locate(around);
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->shipped, root() / "usr" / "share" / "vorl");
    EXPECT_EQ(folders->user, Home() / ".local" / "share" / "vorl");
    EXPECT_EQ(folders->saves, Home() / ".local" / "share" / "vorl" / "assets");
    EXPECT_EQ(folders->pictures, Home() / ".local" / "share" / "vorl" / "screenshots");
    EXPECT_TRUE(folders->Installed());
}

TEST_F(AssetsTest, AFolderBesideTheProgramComesFirst) {
    InstallData();
    Touch(root() / "usr" / "bin" / "assets" / "Objects");
    const auto folders = Assets::Locate(around);
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->shipped, root() / "usr" / "bin" / "assets");
    EXPECT_TRUE(folders->Installed());
}

TEST_F(AssetsTest, AWorkingCopyReadsAndWritesItsOwnAssetsFolder) {
    Touch(around.workingFolder / "assets" / "Objects");
    const auto folders = Assets::Locate(around);
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->shipped, around.workingFolder / "assets");
    EXPECT_EQ(folders->saves, folders->shipped);
    EXPECT_EQ(folders->pictures, around.workingFolder / "screenshots");
    EXPECT_FALSE(folders->Installed());
}

TEST_F(AssetsTest, WithoutAnArchetypeListNothingIsDataAndTheFoldersTriedAreNamed) {
    fs::create_directories(around.workingFolder / "assets");
    fs::create_directories(root() / "usr" / "share" / "vorl");
    std::vector<fs::path> looked;
    EXPECT_FALSE(Assets::Locate(around, &looked));
    EXPECT_EQ(looked, (std::vector<fs::path>{root() / "usr" / "bin" / "assets",
                                             root() / "usr" / "share" / "vorl",
                                             around.workingFolder / "assets"}));
}

TEST_F(AssetsTest, TheUserFolderFollowsXdgDataHomeOnlyWhenItIsAbsolute) {
    InstallData();
    around.dataHome = (root() / "data").string();
    EXPECT_EQ(Assets::Locate(around)->user, root() / "data" / "vorl");
    around.dataHome = "relative/data";
    EXPECT_EQ(Assets::Locate(around)->user, Home() / ".local" / "share" / "vorl");
}

TEST_F(AssetsTest, ScreenshotsGoToTheDesktopsPicturesFolderWhenItHasOne) {
    InstallData();
    around.configHome = (root() / "config").string();
    struct Case {
        const char* line;
        bool makeFolder;
        fs::path expected;
    };
    const fs::path fallback = Home() / ".local" / "share" / "vorl" / "screenshots";
    const Case cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"", true, Home() / "Bilder" / "Vorl"},
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"", false, fallback},  // named but missing
        {"XDG_PICTURES_DIR=\"$HOME/\"", true, fallback},         // switched off: the home itself
        {"XDG_PICTURES_DIR=\"Bilder\"", true, fallback},         // not a path
        {"# no pictures folder", true, fallback},
    };
    for (const Case& c : cases) {
        fs::remove_all(Home() / "Bilder");
        if (c.makeFolder) {
            fs::create_directories(Home() / "Bilder");
        }
        Touch(root() / "config" / "user-dirs.dirs",
              std::string("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n") + c.line + "\n");
        EXPECT_EQ(Assets::Locate(around)->pictures, c.expected) << c.line;
    }
    // The environment's own setting wins over the file's.
    fs::create_directories(root() / "Shots");
    around.picturesDir = (root() / "Shots").string();
    EXPECT_EQ(Assets::Locate(around)->pictures, root() / "Shots" / "Vorl");
}

TEST_F(AssetsTest, ThePlayersOwnFileIsReadBeforeTheShippedOneAndSavesGoToItsFolder) {
    InstallData();
    const Assets::Folders folders = Installed();
    Touch(folders.shipped / "level_Intro", "shipped");
    Touch(folders.shipped / "level_Other", "shipped");
    Touch(folders.saves / "level_Intro", "edited");
    Assets::Use(folders);
    EXPECT_EQ(Assets::PathOf("level_Intro"), (folders.saves / "level_Intro").string());
    EXPECT_EQ(Assets::PathOf("level_Other"), (folders.shipped / "level_Other").string());
    EXPECT_EQ(Assets::PathOf("level_None"), (folders.shipped / "level_None").string());
    // Saves go to the saves folder, whose folders are made on the way.
    const std::string path = Assets::SavePathOf("Level3Input\\inputfile1.input");
    EXPECT_EQ(path, (folders.saves / "Level3Input" / "inputfile1.input").string());
    EXPECT_TRUE(fs::is_directory(folders.saves / "Level3Input"));
    EXPECT_FALSE(fs::exists(folders.shipped / "Level3Input"));
}

TEST_F(AssetsTest, NamesResolveOnlyInsideTheDataFolders) {
    Assets::Use(Installed());
    struct Case {
        std::string name;
        std::string below;  // empty: refused
    };
    const Case cases[] = {
        {"Objects", "Objects"},
        {"Level6Input/inputfile1.input", "Level6Input/inputfile1.input"},
        {"Sounds\\jump.ogg", "Sounds/jump.ogg"},
        {"...", "..."},
        {"a/./b", "a/./b"},
        {"", ""},
        {"..", ""},
        {"../passwd", ""},
        {"..\\passwd", ""},
        {"Sounds/../../passwd", ""},
        {"Sounds/..", ""},
        {"/etc/passwd", ""},
        {"\\etc\\passwd", ""},
        {std::string("Obj\0ects", 8), ""},
    };
    for (const Case& c : cases) {
        const std::string expected =
            c.below.empty() ? "" : (Installed().shipped / c.below).string();
        EXPECT_EQ(Assets::PathOf(c.name), expected) << c.name;
        const std::string save = c.below.empty() ? "" : (Installed().saves / c.below).string();
        EXPECT_EQ(Assets::SavePathOf(c.name), save) << c.name;
    }
}

TEST_F(AssetsTest, ALinkThatLeadsOutOfTheDataFolderIsRefusedWithOneLine) {
    const fs::path data = root() / "data";
    Touch(root() / "outside" / "secret", "root:x:0:0\n");
    Touch(data / "Objects");
    Touch(data / "Sounds" / "jump.ogg");
    fs::create_symlink(root() / "outside" / "secret", data / "Crate");
    fs::create_directory_symlink(root() / "outside", data / "Level2Input");
    fs::create_symlink(data / "Objects", data / "Alias");
    fs::create_directory_symlink(data / "Sounds", data / "SoundsToo");
    Assets::SetRoot(data);
    testing_support::CapturedDiagnostics diagnostics;
    EXPECT_EQ(Assets::PathOf("Alias"), (data / "Alias").string()) << "a link inside is fine";
    EXPECT_EQ(Assets::PathOf("SoundsToo/jump.ogg"), (data / "SoundsToo/jump.ogg").string());
    EXPECT_TRUE(diagnostics.Lines().empty());
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_EQ(Assets::PathOf("Crate"), "");
        EXPECT_EQ(Assets::PathOf("Level2Input/secret"), "");
        EXPECT_EQ(Assets::SavePathOf("Level2Input/new.input"), "");
    }
    ASSERT_EQ(diagnostics.Lines().size(), 3u) << "one line for each name, once";
    EXPECT_NE(diagnostics.Lines()[0].find("leads out of the data folder"), std::string::npos);
    std::string why;
    EXPECT_FALSE(Assets::Inside(data / "Sounds", "../Objects", &why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
