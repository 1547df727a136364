// Leaving the editor without losing work: the question before leaving with unsaved changes, the
// autosave kept after every edit, and its offer when the editor is switched on again.
#include "core/main_loop.h"
#include "core/messaging.h"
#include "editor/autosave.h"
#include "editor/level_editor.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

#include <sstream>

bool LevelEditor::HasUnsavedChanges() const {
    return update && LevelText(LevelObjects()) != savedText_;
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
    const std::string name = levelName.empty() ? "The level" : "\"" + levelName + "\"";
    panels_.AddNote(name + " has changes that are not saved.");
    panels_.AddButton(kSave, [this, exit] {
        if (levelName.empty()) {
            BuildSavePanel(exit);
        } else {
            SaveAndSayWhere(levelName, exit);
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
            isRunning = false;
            break;
    }
}

bool LevelEditor::HoldCloseToAsk() {
    if (!HasUnsavedChanges()) {
        return false;
    }
    if (panels_.HasPanel() && panels_.Title() == kUnsavedChanges) {
        // Closed again while asking: the designer insists, and the autosave holds the work.
        KeepAutosave(LevelText(LevelObjects()));
        return false;
    }
    AskBeforeLeaving(Exit::Quit);
    return true;
}

void LevelEditor::KeepAutosave(const std::string& levelText) {
    if (levelText == savedText_) {
        Autosave::Remove();
    } else {
        Autosave::Write(levelName, levelText);
    }
}

void LevelEditor::MarkSaved() {
    savedText_ = LevelText(LevelObjects());
    unsavedShown_ = false;
    Autosave::Remove();
}

void LevelEditor::ShowStatus() {
    const std::size_t count = LevelObjects().size();
    panels_.SetStatus((levelName.empty() ? std::string("(unnamed level)") : levelName) +
                      (unsavedShown_ ? "  * unsaved" : "  saved") + "  -  " +
                      std::to_string(count) + (count == 1 ? " object" : " objects"));
}

void LevelEditor::OfferAutosave() {
    const auto kept = Autosave::Read();
    if (!kept || kept->levelText == savedText_) {
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
        levelName = contents->levelName;
        // Still unsaved: its file (if any) holds the older level.
        savedText_.clear();
        unsavedShown_ = true;
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
