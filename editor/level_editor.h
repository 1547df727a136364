// LevelEditor: the in-game level and archetype editor. Runs second in the frame, right after the
// window, so that its panel's button presses act before the game does.
//
// F5 asks the level sequencer for the level editor and F6 for the archetype view. While the
// editor is on, the screen shows the level (1528 pixels) and the archetype palette (72 pixels,
// editor/palette.h); the designer picks, drags (G snaps to the grid), scales (= - W S A D),
// rotates (Q E R), layers (I K) and deletes objects, paints (Ctrl+left) and erases (Ctrl+right)
// instances of the selected archetype on a grid, moves (arrows, M N for speed) and zooms
// (Ctrl+wheel) the camera, and edits any object's or archetype's members in a panel
// (platform/panel_layer.h). Ctrl+S saves the level, Ctrl+L loads one (asking first when the level
// is not empty: the loaded objects join the ones there), Ctrl+N starts a new unnamed level, Ctrl+Z
// and Ctrl+Y undo and redo, Ctrl+P play-tests the level as it stands (from a scratch file, never
// its own: F5 comes back to it, named and unsaved as it was), Ctrl+Q or Escape leaves for the
// level played when F5 or F6 opened the editor (the first level, from a title screen). F5 from
// anywhere else opens a new, empty, unnamed level. Saving over a file the level did not come from
// asks first.
//
// A click picks the object drawn on top (editor/picking.h); a drag on empty space draws a marquee
// and selects every object inside it as a group, which drags and deletes together. Ctrl+C copies
// the selection (the group, or the one object), Ctrl+V pastes it around the mouse and Ctrl+D
// duplicates it beside itself; the pasted pieces become the group. Each of these is one undo
// step. The selection is outlined over the level, and the palette names the archetype under the
// mouse.
//
// Leaving the level with unsaved changes (Escape, Ctrl+Q, F6, Ctrl+N, Ctrl+L, the window's close
// button, SIGTERM through the window) first asks: Save, Discard or Cancel; one click of the close
// button is one question. "Unsaved" compares the level with its file's text
// (editor/level_sameness.h), so undoing back to the saved state is clean. Every finished edit,
// undo and redo that leaves the level unlike its file is kept in the autosave
// (editor/autosave.h), which the next F5 offers to restore.
//
// The selection is a level object or an archetype; it is cleared before anything can destroy it
// (a level clear, a switch off, a reload of the archetypes). Picking runs even while the editor is
// off, as the game always did; everything else only while it is on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/system.h"
#include "core/vector.h"
#include "editor/level_history.h"
#include "objects/component_list.h"

namespace platform {
class PanelLayer;
}  // namespace platform

class Object;

class LevelEditor : public System {
public:
    // The button labels of the panels, as designers see them.
    static constexpr const char* kAddComponent = "Add Component ";
    static constexpr const char* kRemoveComponent = "  Remove Component ";
    static constexpr const char* kSaveArchetype = "Save Archetype";
    static constexpr const char* kSaveLevel = "Save Level";
    static constexpr const char* kLoadLevel = "Load Level";
    static constexpr const char* kLevelNameField = "Level Name";
    static constexpr const char* kSaveEmptyLevel = "Save Empty Level";
    static constexpr const char* kCancel = "Cancel";
    // The panel that says where a level save went, or that it failed.
    static constexpr const char* kSaved = "Saved";
    // The scratch file a play-test runs: its point keeps every save away from it.
    static constexpr const char* kPlayTestFile = "editor.playtest";
    // The question before saving over a file the level did not come from, and its answer.
    static constexpr const char* kFileExists = "File Exists";
    static constexpr const char* kReplaceFile = "Replace The File";
    // The question before leaving with unsaved changes, and its answers.
    static constexpr const char* kUnsavedChanges = "Unsaved Changes";
    static constexpr const char* kSave = "Save";
    static constexpr const char* kDiscard = "Discard";
    // The offer of an autosave at F5, and its answers.
    static constexpr const char* kAutosaveFound = "Autosave";
    static constexpr const char* kRestoreAutosave = "Restore Autosave";
    static constexpr const char* kDiscardAutosave = "Discard Autosave";
    // The panel that says why a save or load failed.
    static constexpr const char* kNotSaved = "Not Saved";
    static constexpr const char* kLoaded = "Loaded";
    // The question before loading on top of a level that holds objects, and its answers.
    static constexpr const char* kLoadOnTop = "Load On Top";
    static constexpr const char* kReplaceLevel = "Replace The Level";
    static constexpr const char* kAddToLevel = "Add To The Level";

    explicit LevelEditor(platform::PanelLayer& panels);
    // On a headless panel layer of its own (tools, the meta registry's sample).
    LevelEditor();
    ~LevelEditor() override;

    void Update() override;
    void Shutdown() override;

    // The panel actions, as the buttons call them.
    void SaveLevelAs(const std::string& name);
    void LoadLevelNamed(const std::string& name);
    void SaveSelectedArchetype();
    void Undo();
    void Redo();

    // The level differs from the file it was loaded from or last saved to.
    bool HasUnsavedChanges() const;
    // The file the level came from or was last saved to; empty for a new level.
    const std::string& FileName() const { return fileName_; }

    Object* Selected() const { return selectedObject; }
    // The objects selected together (a marquee, a paste); empty when one object or none is.
    const std::vector<Object*>& Group() const { return group_; }
    platform::PanelLayer& Panels() { return panels_; }
    const LevelHistory& History() const { return history_; }
    std::size_t EditorComponentCount() const { return editorComponents_.Size(); }

    // Registered with the meta registry as "update": whether the editor is on.
    bool update = false;
    Object* selectedObject = nullptr;
    bool mayTransform = false;
    bool wantsPanel = false;
    bool barOutOfDate = false;
    std::string levelName;
    float cameraSpeed = 10.0f;

private:
    // Where the designer was going when the editor asked about unsaved changes.
    enum class Exit { Leave, ArchetypeView, Quit, New, Load };

    void SwitchOn();
    void SwitchOff();
    void Select(Object* object);
    void Deselect();
    void ForgetSelectionIfGone();
    void FileReactions();
    void EntryKeys();
    void Pick();
    // A drag on empty space: the marquee follows the mouse and selects what it holds on release.
    void Marquee();
    void ForgetGroup();
    // The selection's outlines and the palette's name under the mouse, for the panel layer.
    void ShowSelectionAndNames();
    // What Ctrl+C copies: the group, or the selected level object.
    std::vector<Object*> CopySource() const;
    void Copy();
    // Reads `text` (level objects) into the level; they become the group.
    std::vector<Object*> PasteText(const std::string& text);
    void MoveGroup(const Vector2D& by);
    void Paste();
    void Duplicate();
    void UpdateEditorComponents();
    // The archetype view (F6): a click on an archetype opens its panel; Escape leaves.
    void UpdateArchetypeView();
    void EditSelected();
    // Delete: the group and the selected level object go together.
    void DeleteSelection();
    void Erase();
    void Paint();
    void MoveCamera();
    void ShowArchetypesAndLabels();
    void Shortcuts();
    void Leave();
    void PlayTest();
    // Ctrl+N once asked: an empty level with no name and no file.
    void NewLevel();
    void RecordEdits();
    void Restore(const std::string& levelText);

    void RebuildPanel();
    void BuildObjectPanel();
    void BuildSavePanel(std::optional<Exit> then = std::nullopt);
    void AskBeforeLeaving(Exit exit);
    void RequestExit(Exit exit);
    void Carry(Exit exit);
    void OfferAutosave();
    void KeepAutosave(const std::string& levelText);
    void MarkSaved();
    // Opens a panel holding only `lines`, titled `title`; a report of success goes by itself.
    void Report(const char* title, const std::vector<std::string>& lines);
    void DismissOldReport();
    void ShowStatus();
    // The window's close button: true when the editor keeps the game open to ask first.
    bool HoldCloseToAsk();
    void BuildLoadPanel();
    // Loads `name`, first asking whether it replaces the level or joins it when the level holds
    // objects.
    void AskThenLoad(const std::string& name);
    void BuildConfirmEmptySavePanel(const std::string& name, std::optional<Exit> then);
    // Saves as `name` after the questions it needs: an empty level over objects, a file the level
    // did not come from.
    void SaveAsking(const std::string& name, std::optional<Exit> then);
    bool DiffersFromSaved(const std::string& levelText) const;
    // Saves the level as `name`, keeping backups, and says on the panel what happened; then goes
    // on to `then` when saved. True when saved.
    bool SaveAndSayWhere(const std::string& name, std::optional<Exit> then = std::nullopt);

    // Before: moves the group by as much as the dragged object moved.
    void DragGroupAlong(const Object& dragged, const Vector2D& before);

    std::unique_ptr<platform::PanelLayer> ownPanels_;
    platform::PanelLayer& panels_;
    ComponentList<EditorComponent> editorComponents_;
    LevelHistory history_;
    // Something may have changed the level since the last record.
    bool levelTouched_ = false;
    std::size_t lastObjectCount_ = 0;
    // The level a play-test left from, as it was, set up again when the editor comes back.
    struct PlayTestReturn {
        std::string fileName;
        std::string savedText;
        std::string levelText;
    };
    std::optional<PlayTestReturn> returnFromPlayTest_;
    std::string fileName_;
    // The frame the close button's question opened in: SDL reports one click twice.
    std::uint64_t closeAskedFrame_ = 0;
    // The object the panel's fields point into, or null for the level's own panels.
    Object* panelObject_ = nullptr;
    // Just switched on: the object system empties the level after this update.
    bool settling_ = false;
    std::uint64_t switchedOnFrame_ = 0;
    // The level's text as its file holds it (after a load or a save).
    std::string savedText_;
    // F6's view of every archetype is on (the level editor itself is off then).
    bool archetypeView_ = false;
    // The entry keys' requests, from this step's messages until EntryKeys reads them.
    bool levelEditorAsked_ = false;
    bool archetypeEditorAsked_ = false;
    // The level played when F5 or F6 opened an editor: leaving goes back to it.
    std::int32_t levelPlayed_ = 0;
    // Whether the level differed from its file at the last finished edit, save or load; what the
    // status line shows (comparing the whole level every frame would cost a large level dearly).
    bool unsavedShown_ = false;
    // A panel that only says what went well (saved, loaded) goes by itself after a while.
    std::uint64_t reportShownFrame_ = 0;
    std::vector<Object*> group_;
    // Where the marquee's drag began, while it goes on.
    std::optional<Vector2D> marqueeFrom_;
    // The copied objects as level text, so a paste survives the originals' deletion.
    std::string clipboard_;
};
