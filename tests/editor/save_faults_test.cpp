// The faults a designer's disk can throw at a save, done for real: a full disk (a file-size
// limit), a read-only folder, a kill in the middle of saving, and names of the game's own files.
// Each asserts what the designer reads and that nothing on disk was lost. Faults run in a forked
// child, so the limit, the lost privileges and the kill stay there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "editor/level_editor.h"
#include "editor/level_saves.h"
#include "meta/safe_file.h"
#include "support/child_process.h"
#include "support/editor_session.h"
#include "support/scene_builder.h"

namespace {

using testing_support::EditorSession;
using testing_support::InChild;

const std::string kOld = "Rock\n{\nTransform2D 5.0 6.0 1.0 10.0 10.0 0.0\n}\n";
const std::string kOlder = "Pebble\n{\nTransform2D 1.0 2.0 1.0 3.0 3.0 0.0\n}\n";

class SaveFaultsTest : public ::testing::Test {
protected:
    SaveFaultsTest() : session({"Crate: RigidBody2D mass 1.0"}) {
        session.Assets().Write("level_Mine", kOld);
        session.Assets().Write("level_Mine.bak", kOlder);
        session.EnterEditor();
    }
    // A level of `count` objects, far more text than `kOld`.
    void PlaceMany(int count) {
        std::string scene;
        for (int i = 0; i < count; ++i) {
            scene += "Box" + std::to_string(i) + " " + std::to_string(i * 30) + " 0 10 10\n";
        }
        testing_support::BuildScene(scene);
    }
    EditorSession session;
};

struct Fault {
    const char* name;
    bool readOnly;  // else a file-size limit, as on a full disk
    bool bigOldFile;
    const char* cause;
};

// On a full disk or in a read-only folder the save says why and keeps the file and its backup;
// when it is the old file's backup that does not fit, the save stops before anything moves.
TEST_F(SaveFaultsTest, AFailedSaveSaysWhyAndLosesNothing) {
    const Fault faults[] = {
        {"the level does not fit", false, false, "the disk is full (File too large)"},
        {"the backup does not fit", false, true, "the backup of"},
        {"a read-only folder", true, false, "the folder is read-only (Permission denied)"},
    };
    std::string big;
    for (int i = 0; i < 200; ++i) {
        big += "Box" + std::to_string(i) + "\n{\nTransform2D 0.0 0.0 1.0 1.0 1.0 0.0\n}\n";
    }
    namespace fs = std::filesystem;
    const fs::path folder = session.Assets().Folder();
    // Readable by the unprivileged user the read-only case runs as.
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        session.ChordDiscarding('N');
        const std::string old = fault.bigOldFile ? big : kOld;
        session.Assets().Write("level_Mine", old);
        PlaceMany(fault.bigOldFile ? 1 : 200);
        const std::string said = InChild([&] {
            if (fault.readOnly) {
                fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
                if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                    return std::string("could not drop root");
                }
            } else {
                const rlimit limit{4096, 4096};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            session.Editor().SaveLevelAs("level_Mine");
            session.PressButton(LevelEditor::kReplaceFile);
            const auto& items = session.Panels().Items();
            return session.Panels().Title() + ": " + (items.empty() ? "" : items[0].label);
        });
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(
            said.rfind(std::string(LevelEditor::kNotSaved) + ": \"level_Mine\" was not saved", 0),
            0u)
            << said;
        EXPECT_NE(said.find(fault.cause), std::string::npos) << said;
        EXPECT_NE(said.find("Nothing on disk changed"), std::string::npos) << said;
        EXPECT_EQ(said.find("without"), std::string::npos)
            << "no word of a save that did not happen";
        EXPECT_EQ(session.Assets().Read("level_Mine"), old);
        EXPECT_EQ(session.Assets().Read("level_Mine.bak"), kOlder);
        EXPECT_FALSE(session.Assets().Exists("level_Mine.bak2"));
        for (const std::string& file : session.Assets().Files()) {
            EXPECT_EQ(file.find(".saving-"), std::string::npos) << file;
        }
    }
}

TEST_F(SaveFaultsTest, AKillDuringSavesLeavesAWholeFileAndTheNextStartClearsTheRest) {
    PlaceMany(400);
    const std::string level = session.LevelText();
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) {
            EditorSaves::SaveLevel("level_Mine");
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string after = session.Assets().Read("level_Mine");
    EXPECT_TRUE(after == level || after == kOld) << "a whole file, old or new";
    for (int generation = 1; generation <= EditorSaves::kBackupGenerations; ++generation) {
        const std::string backup = EditorSaves::BackupName("level_Mine", generation);
        if (session.Assets().Exists(backup)) {
            const std::string text = session.Assets().Read(backup);
            EXPECT_TRUE(text == level || text == kOld || text == kOlder) << backup;
        }
    }
    // A temporary file of a process that still runs (ours) belongs to a save under way.
    session.Assets().Write("level_Other.saving-" + std::to_string(::getpid()), "half");
    SafeFile::ClearStaleTemporaries(session.Assets().Folder());
    for (const std::string& file : session.Assets().Files()) {
        if (file.find(".saving-") != std::string::npos) {
            EXPECT_EQ(file, "level_Other.saving-" + std::to_string(::getpid()));
        }
    }
}

// Names of the game's own files, or outside its data folder, are refused with the reason; a level
// or an archetype of its own name is free.
TEST_F(SaveFaultsTest, ReservedNamesAreRefusedWithTheReason) {
    struct Case {
        const char* name;
        bool asArchetype;
        const char* because;  // empty: the name is free
    };
    const Case cases[] = {
        {"Objects", false, "the archetype list"},
        {"SoundBank", true, "the sound bank"},
        {"Crate", false, "the file of the archetype Crate"},
        {"level_Mine.bak", false, "data names have no extension"},
        {"level_Intro", true, "is a level file"},
        {"level_Mine", true, "is a level file"},
        {"../escape", false, "path separator"},
        {"Sounds", false, "\"Sounds\" is"},
        {"level_Fresh", false, ""},
        {"Crate", true, ""},
        {"NewPiece", true, ""},
    };
    std::filesystem::create_directory(session.Assets().Folder() / "Sounds");
    session.Assets().Write("Objects", "Crate\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.asArchetype ? " as an archetype" : " as a level"));
        const std::string why = EditorSaves::ReservedBecause(c.name, c.asArchetype);
        if (std::string(c.because).empty()) {
            EXPECT_EQ(why, "");
            continue;
        }
        EXPECT_NE(why.find(c.because), std::string::npos) << why;
        if (!c.asArchetype) {
            const auto outcome = EditorSaves::SaveLevel(c.name);
            EXPECT_FALSE(outcome.saved);
            EXPECT_NE(outcome.message.find(why), std::string::npos) << outcome.message;
        }
    }
}

}  // namespace
