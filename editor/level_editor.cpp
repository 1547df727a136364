#include "editor/level_editor.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <unordered_set>
#include <utility>

#include "core/editor_mode.h"
#include "core/messaging.h"
#include "editor/level_editor_common.h"
#include "editor/palette.h"
#include "editor/panel_types.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_registration.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

using EditorCommon::CtrlHeld;
using EditorCommon::IsLive;

namespace {

constexpr float kCameraSpeedStep = 0.1f;
constexpr float kWheelPerZoom = 1000.0f;

std::string LevelText() {
    return LevelText(LevelObjects());
}

}  // namespace

LevelEditor::LevelEditor(platform::PanelLayer& panels) : panels_(panels) {
    FileReactions();
    PanelTypes::DefineVector2D(panels_);
    EditorMode::SetCloseGuard([this] { return HoldCloseToAsk(); });
    LevelManager::GetHooks().setUpLevelEditorView = &Palette::SetUpLevelEditorViews;
    LevelManager::GetHooks().setUpArchetypeEditorView = &Palette::SetUpArchetypeView;
}

LevelEditor::LevelEditor() : ownPanels_(platform::MakeHeadlessPanels()), panels_(*ownPanels_) {
    FileReactions();
    PanelTypes::DefineVector2D(panels_);
}

LevelEditor::~LevelEditor() {
    panels_.DeletePanel();
    if (!ownPanels_) {
        EditorMode::SetCloseGuard(nullptr);
    }
    if (!ownPanels_) {
        LevelManager::GetHooks().setUpLevelEditorView = nullptr;
        LevelManager::GetHooks().setUpArchetypeEditorView = nullptr;
        // The flag is the editor's; the next engine in this process starts outside the editor.
        EditorMode::SetActive(false);
    }
}

VORL_REGISTER_TYPE(LevelEditor, "LevelEditor") {
    VORL_MEMBERS(meta, update);
}

void LevelEditor::Shutdown() {
    Deselect();
    panels_.DeletePanel();
    DestroyAllLevelObjects();
}

void LevelEditor::FileReactions() {
    reactions_
        .On<LevelStartedMessage>([this](const LevelStartedMessage&) {
            if (update || archetypeView_) {
                SwitchOff();
                archetypeView_ = false;
                panels_.SetStatus({});
                EditorMode::SetActive(false);
            }
        })
        .On<ChangeLevelMessage>([this](const ChangeLevelMessage&) { editorComponents_.Clear(); })
        .On({MessageType::EnterLevelEditor}, [this] { SwitchOn(); })
        .On<SelectObjectMessage>([this](const SelectObjectMessage& select) {
            if ((update || archetypeView_) && select.object && IsLive(select.object)) {
                Select(select.object);
                mayTransform = select.mayTransform;
                wantsPanel = select.wantsPanel;
                barOutOfDate = true;
            }
        })
        .On({MessageType::EnterArchetypeEditor},
            [this] {
                if (update) {
                    SwitchOff();
                }
                // The view is the editor's too, whichever screen it was asked from (a play-test
                // included): the renderer draws the archetypes and the game stands still.
                archetypeView_ = true;
                EditorMode::SetActive(true);
                PanelTypes::DefineComponentTypes(panels_);
                Deselect();
                panels_.DeletePanel();
            })
        .On<RegisterComponentMessage>([this](const RegisterComponentMessage& reg) {
            if (reg.family == ComponentFamily::Editor && reg.component &&
                reg.component->GetOwner()) {
                editorComponents_.AddAnnounced(reg.component, true);
            }
        })
        .On({MessageType::ClearLevel},
            [this] {
                // The object system destroys the level later in this frame.
                if (selectedObject && !selectedObject->IsArchetype()) {
                    Deselect();
                }
                ForgetGroup();
            })
        .On<DebugCommandMessage>([this](const DebugCommandMessage& debug) {
            levelEditorAsked_ = levelEditorAsked_ || debug.command == DebugCommand::LevelEditor;
            archetypeEditorAsked_ =
                archetypeEditorAsked_ || debug.command == DebugCommand::ArchetypeEditor;
        });
}

void LevelEditor::SwitchOn() {
    update = true;
    archetypeView_ = false;
    Deselect();
    EditorMode::SetActive(true);
    PanelTypes::DefineComponentTypes(panels_);
    // The object system empties the level later in this frame; the level the editor shows is
    // settled at the next update.
    settling_ = true;
    switchedOnFrame_ = MessagingSystem::FrameNumber();
}

void LevelEditor::SwitchOff() {
    update = false;
    panels_.SetStatus({});
    panels_.SetOutlines({});
    panels_.SetTooltip({});
    ForgetGroup();
    Palette::Hide();
    // The palette components just lost their owners; the list lets them go now rather than
    // whenever the editor next runs.
    editorComponents_.Prune();
    Deselect();
    panels_.DeletePanel();
}

void LevelEditor::ForgetSelectionIfGone() {
    // The game destroys objects on its own (a broken block, a level change while the editor is
    // off); a selection must never outlive its object.
    if (selectedObject && !IsLive(selectedObject)) {
        selectedObject = nullptr;
        barOutOfDate = true;
    }
    if (!group_.empty()) {
        // Once for the whole group: a marquee over a large level holds many objects.
        const std::unordered_set<const Object*> live(LevelObjects().begin(), LevelObjects().end());
        std::erase_if(group_, [&](const Object* member) { return !live.contains(member); });
    }
}

void LevelEditor::Update() {
    // Before anything reads the selection: the game may have destroyed it since the last update.
    ForgetSelectionIfGone();
    if (panelObject_ && !IsLive(panelObject_)) {
        // The panel's fields point into the object; it must go before it is drawn again.
        panels_.DeletePanel();
        panelObject_ = nullptr;
    }
    HandleMessages();
    panels_.DispatchPresses();
    EntryKeys();
    Pick();
    if (!update) {
        if (archetypeView_) {
            UpdateArchetypeView();
        }
        return;
    }
    if (settling_) {
        if (MessagingSystem::FrameNumber() == switchedOnFrame_) {
            return;
        }
        settling_ = false;
        if (returnFromPlayTest_) {
            // Back from a play-test: the level as it was left, under its own name, with its
            // history.
            std::istringstream in(returnFromPlayTest_->levelText);
            ReadLevelObjects(in, kPlayTestFile);
            fileName_ = returnFromPlayTest_->fileName;
            savedText_ = returnFromPlayTest_->savedText;
            returnFromPlayTest_.reset();
            if (LevelText() != history_.Current()) {
                history_.Reset(LevelText());
            }
        } else {
            // A new level: nothing of the last one's name, file or history carries over.
            fileName_.clear();
            savedText_ = LevelText();
            history_.Reset(LevelText());
        }
        levelName = fileName_;
        unsavedShown_ = DiffersFromSaved(LevelText());
        OfferAutosave();
        lastObjectCount_ = LevelObjects().size();
        levelTouched_ = false;
    }
    UpdateEditorComponents();
    Marquee();
    EditSelected();
    DeleteSelection();
    Erase();
    Paint();
    if (InputSystem::KeyReleased(VirtualKey::Control)) {
        // The panel stays: Ctrl+S and Ctrl+L open theirs just before Ctrl goes up.
        selectedObject = nullptr;
    }
    MoveCamera();
    ShowArchetypesAndLabels();
    Shortcuts();
    if (!update) {
        return;
    }
    RecordEdits();
    DismissOldReport();
    ShowStatus();
    ShowSelectionAndNames();
    if (barOutOfDate) {
        RebuildPanel();
        barOutOfDate = false;
    }
}

void LevelEditor::EntryKeys() {
    // Asked by the debug keys (input/debug_keys.h) in this step's messages.
    const bool levelEditor = std::exchange(levelEditorAsked_, false);
    const bool archetypeEditor = std::exchange(archetypeEditorAsked_, false);
    const std::int32_t current = LevelManager::GetCurrentLevel();
    if ((levelEditor || archetypeEditor) && current < LevelManager::kLevelCount) {
        // Leaving the editor goes back here, so a tester keeps the player's place.
        levelPlayed_ = current;
    }
    if (levelEditor && current != LevelManager::kLevelEditor) {
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kLevelEditor);
    } else if (archetypeEditor && current != LevelManager::kArchetypeEditor) {
        if (update) {
            RequestExit(Exit::ArchetypeView);
        } else {
            MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kArchetypeEditor);
        }
    }
}

void LevelEditor::UpdateArchetypeView() {
    using namespace InputSystem;
    DismissOldReport();
    panels_.SetStatus("Archetypes: click one to edit it.  F5 the level editor, Escape leaves.");
    if (MouseLeftTriggered() || MouseRightTriggered()) {
        for (auto& [name, archetype] : ArchetypeTable()) {
            if (archetype->IsVisible() && IsMouseOver(*archetype)) {
                Select(archetype);
                mayTransform = false;
                wantsPanel = true;
                barOutOfDate = true;
            }
        }
    }
    if (KeyTriggered(VirtualKey::Escape)) {
        Deselect();
        panels_.DeletePanel();
        MessagingSystem::Send<ClearLevelMessage>();
        MessagingSystem::Send<ChangeLevelMessage>(levelPlayed_);
        return;
    }
    ShowSelectionAndNames();
    if (barOutOfDate) {
        RebuildPanel();
        barOutOfDate = false;
    }
}

void LevelEditor::UpdateEditorComponents() {
    editorComponents_.Walk([](EditorComponent& component) { component.Update(); });
}

void LevelEditor::MoveCamera() {
    using namespace InputSystem;
    if (KeyDown('M')) {
        cameraSpeed += kCameraSpeedStep;
    }
    if (KeyDown('N')) {
        cameraSpeed -= kCameraSpeedStep;
    }
    Camera* camera = MainCamera();
    if (!camera) {
        return;
    }
    if (KeyDown(VirtualKey::Right)) {
        camera->transform.Translate(cameraSpeed, 0.0f, 0.0f);
    }
    if (KeyDown(VirtualKey::Left)) {
        camera->transform.Translate(-cameraSpeed, 0.0f, 0.0f);
    }
    if (KeyDown(VirtualKey::Up)) {
        camera->transform.Translate(0.0f, cameraSpeed, 0.0f);
    }
    if (KeyDown(VirtualKey::Down)) {
        camera->transform.Translate(0.0f, -cameraSpeed, 0.0f);
    }
    if (CtrlHeld()) {
        camera->SetZoom(camera->GetZoom() - static_cast<float>(GetWheelDelta()) / kWheelPerZoom);
    }
}

void LevelEditor::ShowArchetypesAndLabels() {
    using namespace InputSystem;
    for (auto& [name, archetype] : ArchetypeTable()) {
        archetype->SetVisible(true);
    }
    // The labels: Ctrl+click on an object shows its coordinates, Ctrl+click elsewhere hides them.
    const bool click = CtrlHeld() && MouseLeftTriggered();
    for (Object* object : LevelObjects()) {
        if (click) {
            object->SetSelected(IsMouseOver(*object));
        }
        if (object->IsSelected()) {
            auto& info = object->GetInfoStream();
            info.str("");
            info.clear();
            info << "Components: \n";
        }
    }
}

void LevelEditor::Shortcuts() {
    using namespace InputSystem;
    // Ctrl with a letter, checked in this order.
    static constexpr struct {
        char key;
        void (*action)(LevelEditor&);
    } kCtrlKeys[] = {
        {'S', [](LevelEditor& e) { e.BuildSavePanel(); }},
        {'L', [](LevelEditor& e) { e.RequestExit(Exit::Load); }},
        {'N', [](LevelEditor& e) { e.RequestExit(Exit::New); }},
        {'Z', [](LevelEditor& e) { e.Undo(); }},
        {'Y', [](LevelEditor& e) { e.Redo(); }},
        {'C', [](LevelEditor& e) { e.Copy(); }},
        {'V', [](LevelEditor& e) { e.Paste(); }},
        {'D', [](LevelEditor& e) { e.Duplicate(); }},
    };
    const bool ctrl = CtrlHeld();
    for (const auto& [key, action] : kCtrlKeys) {
        if (ctrl && KeyTriggered(key)) {
            action(*this);
        }
    }
    if (ctrl && KeyTriggered('P')) {
        PlayTest();
    } else if (KeyTriggered(VirtualKey::Escape) && panels_.Title() == kUnsavedChanges &&
               panels_.HasPanel()) {
        panels_.DeletePanel();  // Escape at the question is its Cancel
    } else if ((ctrl && KeyTriggered('Q')) || KeyTriggered(VirtualKey::Escape)) {
        RequestExit(Exit::Leave);
    }
}

void LevelEditor::NewLevel() {
    Deselect();
    ForgetGroup();
    panels_.DeletePanel();
    panelObject_ = nullptr;
    DestroyAllLevelObjects();
    levelName.clear();
    fileName_.clear();
    savedText_ = LevelText();
    unsavedShown_ = false;
    history_.Reset(savedText_);
    lastObjectCount_ = 0;
    // The autosave stays: after a Discard it holds the work let go until the next edit.
    levelTouched_ = false;
}

void LevelEditor::Leave() {
    Palette::Hide();
    Deselect();
    panels_.DeletePanel();
    MessagingSystem::Send<ClearLevelMessage>();
    MessagingSystem::Send<ChangeLevelMessage>(levelPlayed_);
}

void LevelEditor::PlayTest() {
    const std::string text = LevelText();
    std::string why;
    if (!SafeFile::Replace(Assets::SavePathOf(kPlayTestFile), text, &why)) {
        Report(kNotSaved, {"The play-test could not start: " + Assets::SavePathOf(kPlayTestFile) +
                           " could not be written (" + why + ")."});
        return;
    }
    // A kill during the play-test must not lose what was not saved.
    KeepAutosave(text);
    returnFromPlayTest_ = PlayTestReturn{fileName_, savedText_, text};
    Palette::Hide();
    Deselect();
    panels_.DeletePanel();
    LevelManager::PlayTest(kPlayTestFile);
}
