// Leaving the editor without losing work: the question before leaving with unsaved changes, the
// autosave kept after every edit, and its offer when the editor is switched on again.
#include "core/main_loop.h"
#include "core/messaging.h"
#include "editor/autosave.h"
#include "editor/level_editor.h"
#include "editor/level_sameness.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

#include <sstream>

bool LevelEditor::HasUnsavedChanges() const {
    return update && DiffersFromSaved(LevelText(LevelObjects()));
}

bool LevelEditor::DiffersFromSaved(const std::string& levelText) const {
    return !LevelSameness::Same(levelText, savedText_);
}

void LevelEditor::RequestExit(Exit exit) {
    if (HasUnsavedChanges()) {
        AskBeforeLeaving(exit);
    } else {
        Carry(exit);
    }
}

void LevelEditor::AskBeforeLeaving(Exit exit) {
    // Whatever the answer, the work is on disk first.
    KeepAutosave(LevelText(LevelObjects()));
    Deselect();
    barOutOfDate = false;
    panelObject_ = nullptr;
    panels_.NewPanel(kUnsavedChanges);
    const std::string name = fileName_.empty() ? "The level" : "\"" + fileName_ + "\"";
    panels_.AddNote(name + " has changes that are not saved.");
    panels_.AddButton(kSave, [this, exit] {
        if (fileName_.empty()) {
            BuildSavePanel(exit);
        } else {
            SaveAsking(fileName_, exit);
        }
    });
    panels_.AddButton(kDiscard, [this, exit] { Carry(exit); });
    panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
}

void LevelEditor::Carry(Exit exit) {
    switch (exit) {
        case Exit::Leave:
            Leave();
            break;
        case Exit::ArchetypeView:
            // Off now: the view lays the archetypes out before its message reaches the editor,
            // and switching off then would hide them again.
            SwitchOff();
            MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kArchetypeEditor);
            break;
        case Exit::Quit:
            panels_.DeletePanel();
            isRunning = false;
            break;
        case Exit::New:
            NewLevel();
            break;
        case Exit::Load:
            BuildLoadPanel();
            break;
    }
}

bool LevelEditor::HoldCloseToAsk() {
    if (!HasUnsavedChanges()) {
        return false;
    }
    const std::uint64_t frame = MessagingSystem::FrameNumber();
    if (panels_.HasPanel() && panels_.Title() == kUnsavedChanges) {
        if (frame <= closeAskedFrame_ + 1) {
            // The same click, reported twice (a window close and then a quit).
            return true;
        }
        // Closed again while asking: the designer insists, and the autosave holds the work.
        KeepAutosave(LevelText(LevelObjects()));
        return false;
    }
    AskBeforeLeaving(Exit::Quit);
    closeAskedFrame_ = frame;
    return true;
}

void LevelEditor::KeepAutosave(const std::string& levelText) {
    if (!DiffersFromSaved(levelText)) {
        Autosave::Remove();
    } else {
        Autosave::Write(fileName_, levelText);
    }
}

void LevelEditor::MarkSaved() {
    savedText_ = LevelText(LevelObjects());
    unsavedShown_ = false;
    Autosave::Remove();
}

void LevelEditor::ShowStatus() {
    const std::size_t count = LevelObjects().size();
    // A level with no file is never called saved, and never by a name it was not saved under.
    const char* state = unsavedShown_ ? "  * unsaved" : fileName_.empty() ? "  new" : "  saved";
    panels_.SetStatus((fileName_.empty() ? std::string("(unnamed level)") : fileName_) + state +
                      "  -  " + std::to_string(count) + (count == 1 ? " object" : " objects"));
}

void LevelEditor::OfferAutosave() {
    const auto kept = Autosave::Read();
    if (!kept || !DiffersFromSaved(kept->levelText) ||
        LevelSameness::Same(kept->levelText, LevelText(LevelObjects()))) {
        return;
    }
    panelObject_ = nullptr;
    panels_.NewPanel(kAutosaveFound);
    const std::string name =
        kept->levelName.empty() ? "an unnamed level" : "\"" + kept->levelName + "\"";
    panels_.AddNote("Unsaved work on " + name + " was kept when the editor last closed.");
    panels_.AddButton(kRestoreAutosave, [this] {
        const auto contents = Autosave::Read();
        if (!contents) {
            panels_.DeletePanel();
            return;
        }
        Deselect();
        DestroyAllLevelObjects();
        std::istringstream in(contents->levelText);
        ReadLevelObjects(in, Autosave::kFileName);
        levelName = fileName_ = contents->levelName;
        // Still unsaved: its file (if any) holds the older level.
        std::string fileText;
        std::string why;
        savedText_ = !fileName_.empty() && Assets::IsPlainName(fileName_) &&
                             SafeFile::ReadAll(Assets::PathOf(fileName_), &fileText, &why)
                         ? fileText
                         : std::string();
        unsavedShown_ = DiffersFromSaved(LevelText(LevelObjects()));
        history_.Reset(LevelText(LevelObjects()));
        lastObjectCount_ = LevelObjects().size();
        levelTouched_ = false;
        panels_.DeletePanel();
    });
    panels_.AddButton(kDiscardAutosave, [this] {
        Autosave::Remove();
        panels_.DeletePanel();
    });
}
