// Random sequences of a designer's actions on the headless editor, checked after every step
// against a small model of what the disk must hold:
// - a level file changes only by a save the designer confirmed (a name the level did not come
//   from asks first), and no other file of the data folder changes at all;
// - the last versions of every level saved are in its file or its backups, and a save that would
//   empty a level file or write over one the level did not come from asks first;
// - while the level differs from its file the editor says so and the autosave holds it;
// - every question the model expects is asked, once, and none other, and each answer does what it
//   says: Cancel (or Escape) keeps the work, Discard leaves it in the autosave, Save writes it;
// - every way out (Escape, Ctrl+Q, F6, the close button, a play-test won) lands where it should,
//   and a second close click while asked quits;
// - nothing is written into the source tree.
// A failure prints RapidCheck's seed and the shrunk sequences. RC_PARAMS="max_success=600" runs
// more by hand (five sequences a case); CI runs the default hundred cases.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/main_loop.h"
#include "core/messaging.h"
#include "editor/autosave.h"
#include "editor/level_editor.h"
#include "editor/level_sameness.h"
#include "editor/level_saves.h"
#include "input/input_system.h"
#include "levels/data_writer.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/editor_session.h"
#include "support/scene_builder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::EditorSession;

enum Act {
    Place,
    Scale,
    Delete,
    CopyPaste,
    Undo,
    Redo,
    SaveAs,
    Load,
    New,
    PlayTest,
    LeaveAndF5,
    Close,
    kActs
};
const char* const kActNames[] = {"Place",  "Scale", "Delete", "CopyPaste", "Undo",       "Redo",
                                 "SaveAs", "Load",  "New",    "PlayTest",  "LeaveAndF5", "Close"};

struct Step {
    int act;
    int arg;
};

void showValue(const Step& step, std::ostream& out) {
    out << kActNames[step.act] << "(" << step.arg << ")";
}

const std::vector<std::string> kLevels = {"level_A", "level_B", "level_C"};
// Names a save must refuse, each one of the game's own files or outside the folder.
const std::vector<std::string> kHostile = {
    "Objects",     "../level_A",        "Crate",
    "level_A.bak", Autosave::kFileName, LevelEditor::kPlayTestFile};

bool IsEditorsOwn(const std::string& file) {
    return file == Autosave::kFileName || file == LevelEditor::kPlayTestFile ||
           file.find(".saving-") != std::string::npos ||
           std::any_of(kLevels.begin(), kLevels.end(), [&](const std::string& level) {
               return file == level || file.rfind(level + ".bak", 0) == 0;
           });
}

// Every file of `folder` with its change time, to see that nothing was written there.
std::map<std::string, fs::file_time_type> Stamps(const fs::path& folder) {
    std::map<std::string, fs::file_time_type> stamps;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        stamps[entry.path().string()] = entry.last_write_time(error);
    }
    return stamps;
}

// What the disk and the screen should hold.
struct Model {
    // Every text each level file has held, oldest first, no two neighbours alike: the last is on
    // the disk.
    std::map<std::string, std::vector<std::string>> versions;
    std::string fileName;
    std::string savedText;
};

class Designer {
public:
    Designer() : session({"Crate: RigidBody2D mass 1.0"}) {
        // Six versions of level_A already: a seventh must push out only the oldest.
        Object* rock = testing_support::BuildScene("Rock 5 6 10 10").front();
        for (int version = 0; version < 6; ++version) {
            rock->GetTransform().SetPosition({5.0f + version, 6.0f});
            RC_ASSERT(EditorSaves::SaveLevel("level_A").saved);
            model.versions["level_A"].push_back(session.Assets().Read("level_A"));
        }
        for (const std::string& file : session.Assets().Files()) {
            if (!IsEditorsOwn(file)) {
                others[file] = session.Assets().Read(file);
            }
        }
        session.EnterEditor();
    }
    ~Designer() { isRunning = true; }

    void Do(const Step& step) {
        // Whether leaving the level now must ask, as the model sees it.
        const bool unsaved = Unsaved();
        switch (step.act) {
            case Place:
                session.Drag(-1000000, 420, 40 * (step.arg % 20), 100 + 40 * (step.arg % 7));
                break;
            case Scale:
                if (Pick(step.arg)) {
                    session.Tap('W');
                }
                break;
            case Delete:
                if (Pick(step.arg)) {
                    session.Tap(VirtualKey::Delete);
                }
                break;
            case CopyPaste:
                if (Pick(step.arg)) {
                    session.Chord('C');
                    session.Move(40 * (step.arg % 20), -200);
                    session.Chord('V');
                }
                break;
            case Undo:
                session.Chord('Z');
                break;
            case Redo:
                session.Chord('Y');
                break;
            case SaveAs:
                SaveAsStep(step.arg);
                break;
            case Load:
                LoadStep(step.arg, unsaved);
                break;
            case New:
                session.Chord('N');
                if (Answer(step.arg, unsaved)) {
                    model.fileName.clear();
                    model.savedText.clear();
                }
                break;
            case PlayTest:
                PlayTestStep(step.arg);
                break;
            case LeaveAndF5:
                LeaveStep(step.arg, unsaved);
                break;
            case Close:
                // Every other click arrives twice, as SDL reports it: still one question.
                session.CloseWindow(1 + step.arg % 2);
                session.Frames(1);
                if (unsaved && step.arg % 7 == 0) {
                    // Another click later, while asked: the designer insists.
                    RC_ASSERT(Asking(LevelEditor::kUnsavedChanges));
                    session.Frames(5);
                    session.CloseWindow();
                    RC_ASSERT(!isRunning);
                    isRunning = true;
                    session.PressButton(LevelEditor::kCancel);
                } else {
                    RC_ASSERT(isRunning != Answer(step.arg / 2, unsaved));
                }
                isRunning = true;  // the game would end here; the level stays for the next step
                break;
        }
        session.Frames(2);
        Check();
    }

private:
    std::string Screen() const { return session.LevelText(); }
    bool Unsaved() const { return !LevelSameness::Same(Screen(), model.savedText); }
    bool Asking(const char* title) {
        return session.Panels().HasPanel() && session.Panels().Title() == title;
    }

    bool Pick(int arg) {
        const auto objects = LevelObjects();
        if (objects.empty()) {
            return false;
        }
        const Vector2D at = objects[arg % objects.size()]->GetTransform().GetPosition();
        session.Click(static_cast<int>(at.x), static_cast<int>(at.y));
        return true;
    }

    // The question before leaving the level, when the model says there are unsaved changes:
    // Cancel (the button or Escape), Discard or Save by `arg`. True when the designer goes on.
    bool Answer(int arg, bool unsaved) {
        RC_ASSERT(Asking(LevelEditor::kUnsavedChanges) == unsaved);
        if (!unsaved) {
            return true;
        }
        const std::string screen = Screen();
        switch (arg % 3) {
            case 0:
                if ((arg / 30) % 2 == 0) {
                    session.PressButton(LevelEditor::kCancel);
                } else {
                    session.Tap(VirtualKey::Escape);
                }
                RC_ASSERT(Screen() == screen);
                return false;
            case 1: {
                session.PressButton(LevelEditor::kDiscard);
                const auto kept = Autosave::Read();
                RC_ASSERT(kept.has_value());
                RC_ASSERT(LevelSameness::Same(kept->levelText, screen));
                return true;
            }
            default: {
                session.PressButton(LevelEditor::kSave);
                if (model.fileName.empty()) {
                    // Asked for a name: the first level name not taken, if any is left.
                    RC_ASSERT(Asking(LevelEditor::kSaveLevel));
                    const auto free = std::find_if(
                        kLevels.begin(), kLevels.end(),
                        [&](const std::string& name) { return !model.versions.contains(name); });
                    if (free == kLevels.end()) {
                        session.PressButton(LevelEditor::kCancel);
                        return false;
                    }
                    session.Panels().Edit(LevelEditor::kLevelNameField, *free);
                    session.PressButton(LevelEditor::kSaveLevel);
                    Saved(*free, screen);
                    return true;
                }
                if (session.Panels().HasButton(LevelEditor::kSaveEmptyLevel)) {
                    // An empty level over one that holds objects: asked again, and declined.
                    session.PressButton(LevelEditor::kCancel);
                    return false;
                }
                Saved(model.fileName, screen);
                return true;
            }
        }
    }

    // A confirmed save of `text` (the screen when the save was asked for) as `name`.
    void Saved(const std::string& name, const std::string& text) {
        RC_ASSERT(!Autosave::Read().has_value());
        auto& versions = model.versions[name];
        if (versions.empty() || versions.back() != text) {
            versions.push_back(text);
        }
        model.fileName = name;
        model.savedText = text;
    }

    void SaveAsStep(int arg) {
        const bool hostile = arg % 5 == 4;
        const std::string name =
            hostile ? kHostile[arg % kHostile.size()] : kLevels[arg % kLevels.size()];
        const bool existed = model.versions.contains(name);
        session.Chord('S');
        RC_ASSERT(session.Panels().Value(LevelEditor::kLevelNameField) == model.fileName);
        session.Panels().Edit(LevelEditor::kLevelNameField, name);
        session.PressButton(LevelEditor::kSaveLevel);
        if (!hostile) {
            // Emptying a level file asks first; so does a level file this one did not come from.
            const bool emptying = existed && LevelObjects().empty() &&
                                  !LevelSameness::Same(model.versions[name].back(), "");
            RC_ASSERT(session.Panels().HasButton(LevelEditor::kSaveEmptyLevel) == emptying);
            RC_ASSERT(Asking(LevelEditor::kFileExists) ==
                      (!emptying && existed && name != model.fileName));
        }
        const bool asked = Asking(LevelEditor::kFileExists) ||
                           session.Panels().HasButton(LevelEditor::kSaveEmptyLevel);
        const bool confirm = (arg / 5) % 2 == 1;
        if (asked) {
            session.PressButton(confirm ? (Asking(LevelEditor::kFileExists)
                                               ? LevelEditor::kReplaceFile
                                               : LevelEditor::kSaveEmptyLevel)
                                        : LevelEditor::kCancel);
        }
        if (!hostile && (asked ? confirm : !existed || name == model.fileName)) {
            Saved(name, Screen());
        }
    }

    void LoadStep(int arg, bool unsaved) {
        session.Chord('L');
        if (!Answer(arg, unsaved)) {
            return;
        }
        const std::string name = kLevels[(arg / 3) % kLevels.size()];
        session.Panels().Edit(LevelEditor::kLevelNameField, name);
        const std::size_t before = LevelObjects().size();
        const std::string screen = Screen();
        const int onTop = (arg / 9) % 3;
        session.PressButton(LevelEditor::kLoadLevel);
        // A level that holds objects asks first; nothing loads before the answer.
        RC_ASSERT(Asking(LevelEditor::kLoadOnTop) == (before > 0));
        if (before > 0) {
            RC_ASSERT(Screen() == screen);
            session.PressButton(onTop == 0   ? LevelEditor::kReplaceLevel
                                : onTop == 1 ? LevelEditor::kAddToLevel
                                             : LevelEditor::kCancel);
        }
        // Cancelled, the level and its name stay: Check sees it.
        if ((before > 0 && onTop == 2) || !model.versions.contains(name)) {
            return;
        }
        const auto objects = LevelObjects();
        const std::size_t from = onTop == 0 ? 0 : before;
        model.fileName = name;
        model.savedText = LevelText(std::vector<Object*>(
            objects.begin() + static_cast<std::ptrdiff_t>(std::min(from, objects.size())),
            objects.end()));
    }

    // The level on screen runs, and comes back as it was left by F5 or by winning.
    void PlayTestStep(int arg) {
        const std::string screen = Screen();
        const std::size_t count = LevelObjects().size();
        session.Chord('P');
        session.Frames(5);
        RC_ASSERT(!session.Editor().update);
        RC_ASSERT(LevelManager::GetCurrentLevel() == LevelManager::kPlayTest);
        RC_ASSERT(LevelObjects().size() == count);
        if (arg % 2 == 0) {
            session.EnterEditor();
        } else {
            // The winner asks for the next level every frame until it is cleared away.
            for (int frame = 0; frame < 4; ++frame) {
                MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kPlayTest + 1);
                session.Frames(1);
            }
            session.Frames(3);
        }
        RC_ASSERT(LevelSameness::Same(Screen(), screen));
    }

    // Escape and Ctrl+Q go back to the game, F6 to the archetype view; F5 then opens a new level
    // and offers back the work let go, if any.
    void LeaveStep(int arg, bool unsaved) {
        const int way = (arg / 6) % 3;
        if (way == 0) {
            session.Tap(VirtualKey::Escape);
        } else if (way == 1) {
            session.Chord('Q');
        } else {
            session.Tap(VirtualKey::F6);
        }
        if (!Answer(arg, unsaved)) {
            return;
        }
        session.Frames(3);
        RC_ASSERT(LevelManager::GetCurrentLevel() ==
                  (way == 2 ? LevelManager::kArchetypeEditor : 0));
        RC_ASSERT((session.Panels().Status().rfind("Archetypes:", 0) == 0) == (way == 2));
        const auto kept = Autosave::Read();
        session.EnterEditor();
        model.fileName.clear();
        model.savedText.clear();
        RC_ASSERT(Asking(LevelEditor::kAutosaveFound) ==
                  (kept && !LevelSameness::Same(kept->levelText, Screen())));
        if (Asking(LevelEditor::kAutosaveFound)) {
            if ((arg / 3) % 2 == 0) {
                session.PressButton(LevelEditor::kDiscardAutosave);
                return;
            }
            session.PressButton(LevelEditor::kRestoreAutosave);
            RC_ASSERT(LevelSameness::Same(Screen(), kept->levelText));
            model.fileName = kept->levelName;
            model.savedText = model.versions.contains(kept->levelName)
                                  ? model.versions[kept->levelName].back()
                                  : std::string();
        }
    }

    void Check() {
        RC_ASSERT(session.Editor().update);
        for (const char* question : {LevelEditor::kUnsavedChanges, LevelEditor::kFileExists,
                                     LevelEditor::kAutosaveFound, LevelEditor::kLoadOnTop}) {
            if (Asking(question)) {
                RC_FAIL(std::string("a question left open: ") + question + "\n" +
                        session.Panels().Describe());
            }
        }
        auto& assets = session.Assets();
        for (const std::string& level : kLevels) {
            RC_ASSERT(assets.Exists(level) == model.versions.contains(level));
            if (!model.versions.contains(level)) {
                continue;
            }
            const auto& versions = model.versions[level];
            RC_ASSERT(assets.Read(level) == versions.back());
            std::vector<std::string> kept = {assets.Read(level)};
            for (int generation = 1; generation <= EditorSaves::kBackupGenerations; ++generation) {
                kept.push_back(assets.Read(EditorSaves::BackupName(level, generation)));
            }
            const std::size_t recoverable = EditorSaves::kBackupGenerations + 1;
            for (std::size_t i = versions.size() > recoverable ? versions.size() - recoverable : 0;
                 i < versions.size(); ++i) {
                RC_ASSERT(std::find(kept.begin(), kept.end(), versions[i]) != kept.end());
            }
        }
        for (const std::string& file : assets.Files()) {
            if (!IsEditorsOwn(file)) {
                RC_ASSERT(others.contains(file));
                RC_ASSERT(assets.Read(file) == others[file]);
            }
        }
        const bool unsaved = Unsaved();
        RC_ASSERT(session.Editor().HasUnsavedChanges() == unsaved);
        // A level is never called saved without a file, nor by a name it was not saved under.
        const std::size_t count = LevelObjects().size();
        RC_ASSERT(session.Panels().Status() ==
                  (model.fileName.empty() ? "(unnamed level)" : model.fileName) +
                      (unsaved                  ? "  * unsaved"
                       : model.fileName.empty() ? "  new"
                                                : "  saved") +
                      "  -  " + std::to_string(count) + (count == 1 ? " object" : " objects"));
        if (unsaved) {
            const auto kept = Autosave::Read();
            RC_ASSERT(kept.has_value());
            RC_ASSERT(LevelSameness::Same(kept->levelText, Screen()));
            RC_ASSERT(kept->levelName == model.fileName);
        }
    }

    EditorSession session;
    Model model;
    std::map<std::string, std::string> others;
};

const fs::path kSourceAssets = fs::path(VORL_SOURCE_DIR) / "assets";

// The scratch data folder in memory: every save and autosave is flushed to the disk, which on a
// busy machine costs a hundred times the editor's own work.
class ScratchInMemory {
public:
    ScratchInMemory() : previous_(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "") {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error)) {
            ::setenv("TMPDIR", "/dev/shm", 1);
        }
    }
    ~ScratchInMemory() {
        if (previous_.empty()) {
            ::unsetenv("TMPDIR");
        } else {
            ::setenv("TMPDIR", previous_.c_str(), 1);
        }
    }

private:
    std::string previous_;
};

RC_GTEST_PROP(EditorProperties, NothingADesignerMakesIsLost, ()) {
    const ScratchInMemory scratch;
    const auto source = Stamps(kSourceAssets);
    // Five designers a case: five hundred sequences in CI's default hundred cases.
    const auto sequences = *rc::gen::container<std::vector<std::vector<Step>>>(
        5,
        rc::gen::resize(20, rc::gen::container<std::vector<Step>>(rc::gen::resize(
                                // Full size: inRange scales its range by the size.
                                100, rc::gen::build<Step>(
                                         rc::gen::set(&Step::act, rc::gen::inRange(0, int{kActs})),
                                         rc::gen::set(&Step::arg, rc::gen::inRange(0, 60)))))));
    for (const auto& steps : sequences) {
        Designer designer;
        for (const Step& step : steps) {
            designer.Do(step);
        }
    }
    RC_ASSERT(Stamps(kSourceAssets) == source);
}

}  // namespace
