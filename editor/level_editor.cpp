#include "editor/level_editor.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <utility>

#include "core/editor_mode.h"
#include "core/messaging.h"
#include "editor/level_saves.h"
#include "editor/palette.h"
#include "editor/panel_types.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_registration.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

namespace {

constexpr float kOneDegree = 0.01745328f;
constexpr float kQuarterTurn = 1.570795f;
constexpr float kLayerStep = 0.1f;
constexpr float kLowestLayer = 1.0f;
// The highest layer is this far below the main camera, so the camera never sits inside an object.
constexpr float kLayerBelowCamera = 11.0f;
constexpr float kPaintedLayer = 5.0f;
constexpr float kCameraSpeedStep = 0.1f;
constexpr float kWheelPerZoom = 1000.0f;
// The palette column is a million units to the left; nothing is dragged or painted there.
constexpr int kPaletteColumnEdge = -500000;
// Keys whose holding goes on changing the selected object: one undo step per hold.
constexpr int kHeldEditKeys[] = {
    VirtualKey::Plus, VirtualKey::Minus, 'W', 'S', 'A', 'D', 'Q', 'E', 'I', 'K'};

bool Ctrl() {
    return InputSystem::KeyDown(VirtualKey::Control);
}

bool PressedOrRepeating(int key) {
    return InputSystem::KeyTriggered(key) || InputSystem::KeyRepeat(key);
}

// The grid position on one axis for the mouse coordinate m and the scale s: the cell of size 2s
// that holds m. The cells of dragging start from the whole part of s, those of painting from s
// itself; a scale below 1 snaps to whole units (a cell of 1).
float SnapToCell(int m, float s, bool wholeScale) {
    float c = 0.0f;
    if (wholeScale) {
        const int whole = static_cast<int>(s);
        if (whole < 1) {
            return static_cast<float>(m);
        }
        c = 2.0f * s * static_cast<float>(m / (2 * whole));
    } else {
        if (s < 1.0f) {
            return static_cast<float>(m);
        }
        c = 2.0f * s * static_cast<float>(static_cast<int>(static_cast<float>(m) / (2.0f * s)));
    }
    const auto mouse = static_cast<float>(m);
    if (mouse - s > c) {
        c += 2.0f * s;
    }
    if (c > s + mouse) {
        c -= 2.0f * s;
    }
    return c;
}

bool Covers(const Object& object, const Vector2D& point) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D s = object.GetTransform().GetScale();
    return point.x >= p.x - s.x && point.x <= p.x + s.x && point.y >= p.y - s.y &&
           point.y <= p.y + s.y;
}

std::string LevelText() {
    return LevelText(LevelObjects());
}

// Whether `object` is still a level object or an archetype. Compares addresses only: the object
// may already have been freed.
bool IsLive(const Object* object) {
    const auto& live = LevelObjects();
    if (std::find(live.begin(), live.end(), object) != live.end()) {
        return true;
    }
    for (const auto& [name, archetype] : ArchetypeTable()) {
        if (archetype == object) {
            return true;
        }
    }
    return false;
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
    meta.Member("update", &LevelEditor::update);
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
            })
        .On<DebugCommandMessage>([this](const DebugCommandMessage& debug) {
            levelEditorAsked_ = levelEditorAsked_ || debug.command == DebugCommand::LevelEditor;
            archetypeEditorAsked_ =
                archetypeEditorAsked_ || debug.command == DebugCommand::ArchetypeEditor;
        });
}

void LevelEditor::HandleMessages() {
    reactions_.ReactToQueue();
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
    pendingLoad_ = returnFromPlayTest_;
    returnFromPlayTest_.clear();
}

void LevelEditor::SwitchOff() {
    update = false;
    panels_.SetStatus({});
    Palette::Hide();
    // The palette components just lost their owners; the list lets them go now rather than
    // whenever the editor next runs.
    editorComponents_.Prune();
    Deselect();
    panels_.DeletePanel();
}

void LevelEditor::Select(Object* object) {
    if (selectedObject != object) {
        barOutOfDate = true;
    }
    selectedObject = object;
}

void LevelEditor::Deselect() {
    if (selectedObject) {
        barOutOfDate = true;
    }
    selectedObject = nullptr;
}

void LevelEditor::ForgetSelectionIfGone() {
    // The game destroys objects on its own (a broken block, a level change while the editor is
    // off); a selection must never outlive its object.
    if (selectedObject && !IsLive(selectedObject)) {
        selectedObject = nullptr;
        barOutOfDate = true;
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
        if (!pendingLoad_.empty()) {
            LoadLevelNamed(pendingLoad_);
            pendingLoad_.clear();
        }
        savedText_ = LevelText();
        unsavedShown_ = false;
        OfferAutosave();
        if (LevelText() != history_.Current()) {
            history_.Reset(LevelText());
        }
        lastObjectCount_ = LevelObjects().size();
        levelTouched_ = false;
    }
    UpdateEditorComponents();
    EditSelected();
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

void LevelEditor::Pick() {
    using namespace InputSystem;
    if (!MouseLeftDown() && !MouseRightDown()) {
        return;
    }
    Object* before = selectedObject;
    const auto selectByDepth = [this](Object* object) {
        if (!selectedObject ||
            object->GetTransform().GetZLayer() > selectedObject->GetTransform().GetZLayer() ||
            !IsMouseOver(*selectedObject)) {
            selectedObject = object;
        }
    };
    for (Object* object : LevelObjects()) {
        if (!IsMouseOver(*object)) {
            continue;
        }
        if (MouseLeftTriggered()) {
            mayTransform = true;
            if (wantsPanel) {
                wantsPanel = false;
                barOutOfDate = true;
            }
            selectByDepth(object);
        } else if (MouseRightTriggered() && !Ctrl()) {
            mayTransform = true;
            if (!wantsPanel) {
                wantsPanel = true;
                barOutOfDate = true;
            }
            selectByDepth(object);
        }
    }
    if (selectedObject != before) {
        barOutOfDate = true;
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
        MessagingSystem::Send<ChangeLevelMessage>(0);
        return;
    }
    if (barOutOfDate) {
        RebuildPanel();
        barOutOfDate = false;
    }
}

void LevelEditor::UpdateEditorComponents() {
    editorComponents_.Walk([](EditorComponent& component) { component.Update(); });
}

void LevelEditor::EditSelected() {
    using namespace InputSystem;
    if (!selectedObject || Ctrl() || !mayTransform) {
        return;
    }
    Object& object = *selectedObject;
    Transform2D& t = object.GetTransform();
    if (MouseLeftDown() && !MouseLeftTriggered() && GetMouseX() > kPaletteColumnEdge) {
        const Vector2D s = t.GetScale();
        if (KeyDown('G')) {
            t.SetPosition({SnapToCell(GetMouseX(), s.x, true), SnapToCell(GetMouseY(), s.y, true)});
        } else {
            t.SetPosition({static_cast<float>(GetMouseX()), static_cast<float>(GetMouseY())});
        }
        levelTouched_ = true;
    }
    if (MouseLeftTriggered() && !IsMouseOver(object)) {
        Deselect();
        return;
    }
    Vector2D scale = t.GetScale();
    if (PressedOrRepeating(VirtualKey::Plus)) {
        scale = scale + Vector2D{1.0f, 1.0f};
    }
    if (PressedOrRepeating(VirtualKey::Minus)) {
        scale = scale - Vector2D{1.0f, 1.0f};
    }
    scale.y += (KeyDown('W') ? 1.0f : 0.0f) - (KeyDown('S') ? 1.0f : 0.0f);
    scale.x += (KeyDown('D') ? 1.0f : 0.0f) - (KeyDown('A') ? 1.0f : 0.0f);
    if (scale != t.GetScale()) {
        t.SetScale(scale);
        levelTouched_ = true;
    }
    const float turn = KeyDown('G') ? kQuarterTurn : kOneDegree;
    if (PressedOrRepeating('Q')) {
        t.SetRotationRadians(t.GetRotationRadians() + turn);
        levelTouched_ = true;
    }
    if (PressedOrRepeating('E')) {
        t.SetRotationRadians(t.GetRotationRadians() - turn);
        levelTouched_ = true;
    }
    if (KeyTriggered('R')) {
        t.SetRotationDegrees(0);
        levelTouched_ = true;
    }
    if (PressedOrRepeating('I')) {
        const Camera* camera = MainCamera();
        const float highest = camera ? camera->transform.GetZLayer() - kLayerBelowCamera : 0.0f;
        t.SetZLayer(std::min(t.GetZLayer() + kLayerStep, highest));
        levelTouched_ = true;
    }
    if (PressedOrRepeating('K')) {
        t.SetZLayer(std::max(t.GetZLayer() - kLayerStep, kLowestLayer));
        levelTouched_ = true;
    }
    if (KeyTriggered(VirtualKey::Delete)) {
        Deselect();
        object.Destroy();
        levelTouched_ = true;
    }
}

void LevelEditor::Erase() {
    if (!selectedObject || !Ctrl() || !InputSystem::MouseRightDown()) {
        return;
    }
    const std::string name = selectedObject->GetName();
    if (Object* archetype = ArchetypeTable().Get(name)) {
        Select(archetype);
    }
    for (Object* object : LevelObjects()) {
        if (object->GetName() == name && InputSystem::IsMouseOver(*object)) {
            if (object == selectedObject) {
                Deselect();
            }
            object->Destroy();
            levelTouched_ = true;
            break;
        }
    }
}

void LevelEditor::Paint() {
    using namespace InputSystem;
    if (!selectedObject || !Ctrl() || !MouseLeftDown() || GetMouseX() <= kPaletteColumnEdge) {
        return;
    }
    const Transform2D& source = selectedObject->GetTransform();
    const Vector2D s = source.GetScale();
    const Vector2D cell{SnapToCell(GetMouseX(), s.x, false), SnapToCell(GetMouseY(), s.y, false)};
    for (const Object* object : LevelObjects()) {
        if (Covers(*object, cell)) {
            return;
        }
    }
    Object* instance = selectedObject->Clone();
    Transform2D& t = instance->GetTransform();
    t.SetPosition(cell);
    t.SetZLayer(kPaintedLayer);
    t.SetRotationDegrees(source.GetRotationDegrees());
    t.SetScale(s);
    Palette::StripPaletteComponents(*instance);
    instance->SetVisible(true);
    levelTouched_ = true;
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
    if (Ctrl()) {
        camera->SetZoom(camera->GetZoom() - static_cast<float>(GetWheelDelta()) / kWheelPerZoom);
    }
}

void LevelEditor::ShowArchetypesAndLabels() {
    using namespace InputSystem;
    for (auto& [name, archetype] : ArchetypeTable()) {
        archetype->SetVisible(true);
    }
    // The labels: Ctrl+click on an object shows its coordinates, Ctrl+click elsewhere hides them.
    const bool click = Ctrl() && MouseLeftTriggered();
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
    const bool ctrl = Ctrl();
    if (ctrl && KeyTriggered('S')) {
        BuildSavePanel();
    }
    if (ctrl && KeyTriggered('L')) {
        BuildLoadPanel();
    }
    if (ctrl && KeyTriggered('N')) {
        EmptyLevel();
    }
    if (ctrl && KeyTriggered('Z')) {
        Undo();
    }
    if (ctrl && KeyTriggered('Y')) {
        Redo();
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

void LevelEditor::EmptyLevel() {
    Deselect();
    DestroyAllLevelObjects();
    levelTouched_ = true;
}

void LevelEditor::Leave() {
    Palette::Hide();
    Deselect();
    panels_.DeletePanel();
    MessagingSystem::Send<ClearLevelMessage>();
    MessagingSystem::Send<ChangeLevelMessage>(0);
}

void LevelEditor::PlayTest() {
    const std::string name = levelName.empty() ? kPlayTestLevel : levelName;
    if (EditorSaves::WouldEmptyLevelFile(name)) {
        BuildConfirmEmptySavePanel(name);
        return;
    }
    if (!SaveAndSayWhere(name)) {
        return;
    }
    levelName = name;
    returnFromPlayTest_ = name;
    Palette::Hide();
    Deselect();
    panels_.DeletePanel();
    LevelManager::PlayTest(name);
}

void LevelEditor::RecordEdits() {
    if (LevelObjects().size() != lastObjectCount_) {
        lastObjectCount_ = LevelObjects().size();
        levelTouched_ = true;
    }
    if (panels_.TakeEdits()) {
        levelTouched_ = true;
    }
    if (!levelTouched_) {
        return;
    }
    // A gesture (a drag, a stroke of paint, a held key, typing into a field) is one step.
    using namespace InputSystem;
    const bool gestureGoesOn =
        MouseLeftDown() || MouseRightDown() || panels_.IsEditing() ||
        std::any_of(std::begin(kHeldEditKeys), std::end(kHeldEditKeys), KeyDown);
    if (gestureGoesOn) {
        return;
    }
    levelTouched_ = false;
    std::string text = LevelText();
    KeepAutosave(text);
    unsavedShown_ = text != savedText_;
    history_.Record(std::move(text));
}

void LevelEditor::Undo() {
    // An edit still in progress becomes a step of its own first, so undo takes back exactly it.
    if (levelTouched_ || panels_.TakeEdits() || LevelObjects().size() != lastObjectCount_) {
        history_.Record(LevelText());
        levelTouched_ = false;
    }
    if (auto level = history_.Undo()) {
        Restore(*level);
    }
}

void LevelEditor::Redo() {
    if (auto level = history_.Redo()) {
        Restore(*level);
    }
}

void LevelEditor::Restore(const std::string& levelText) {
    if (selectedObject && !selectedObject->IsArchetype()) {
        Deselect();
    }
    DestroyAllLevelObjects();
    std::istringstream in(levelText);
    ReadLevelObjects(in, "the editor's undo history");
    lastObjectCount_ = LevelObjects().size();
    levelTouched_ = false;
    barOutOfDate = true;
    unsavedShown_ = LevelText() != savedText_;
}

void LevelEditor::SaveLevelAs(const std::string& name) {
    if (EditorSaves::WouldEmptyLevelFile(name)) {
        BuildConfirmEmptySavePanel(name);
        return;
    }
    SaveAndSayWhere(name);
}

void LevelEditor::LoadLevelNamed(const std::string& name) {
    panelObject_ = nullptr;
    std::string why;
    if (!Assets::IsPlainName(name, &why)) {
        panels_.NewPanel(kLoadLevel);
        panels_.AddNote("\"" + name + "\" was not loaded: " + why + ".");
        return;
    }
    const std::string path = Assets::PathOf(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        panels_.NewPanel(kLoadLevel);
        panels_.AddNote("There is no level \"" + name + "\" (looked for " + path +
                        "). Nothing was loaded.");
        return;
    }
    const bool wasEmpty = LevelObjects().empty();
    const std::size_t before = LevelObjects().size();
    DataDiagnostics::Collector reports;
    LoadLevel(name);
    levelName = name;
    for (Object* object : LevelObjects()) {
        object->RemoveComponent("ArchetypeLevelEditorComponent");
    }
    levelTouched_ = true;
    if (wasEmpty) {
        savedText_ = LevelText();
    }
    unsavedShown_ = !wasEmpty;
    const std::size_t count = LevelObjects().size() - before;
    std::vector<std::string> lines = {"Loaded " + std::to_string(count) +
                                      (count == 1 ? " object" : " objects") + " from " + path +
                                      "."};
    lines.insert(lines.end(), reports.Lines().begin(), reports.Lines().end());
    // With problems in the file, the report stays until the designer moves on.
    Report(reports.Lines().empty() ? kLoaded : kLoadLevel, lines);
}

void LevelEditor::SaveSelectedArchetype() {
    if (!selectedObject) {
        return;
    }
    Object* selected = selectedObject;
    // The save destroys every archetype, the selected one among them.
    selectedObject = nullptr;
    const EditorSaves::Outcome outcome = EditorSaves::SaveArchetype(selected);
    Palette::LayOut(archetypeView_ ? Palette::Kind::ArchetypeView : Palette::Kind::LevelEditor,
                    Palette::kArchetypeViewX);
    barOutOfDate = false;
    Report(outcome.saved ? kSaved : kNotSaved, {outcome.message});
}
