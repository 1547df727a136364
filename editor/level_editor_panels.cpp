// The editor's panels: the object or archetype panel of the selection, and the save, load and
// confirmation panels of the level, with the saves and loads they start.
#include <filesystem>
#include <string>

#include "core/messaging.h"
#include "editor/level_editor.h"
#include "editor/level_saves.h"
#include "editor/palette.h"
#include "editor/panel_types.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "objects/component.h"
#include "objects/component_factory.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/panel_layer.h"

namespace {

// Components the panel never shows: the palette's own, and the transform, which has its field.
bool HiddenFromPanel(const std::string& className) {
    return className == "ArchetypeObjectEditorComponent" || className == "OnLGUIComponent" ||
           className == "Transform2D";
}

}  // namespace

void LevelEditor::RebuildPanel() {
    if (selectedObject && wantsPanel) {
        BuildObjectPanel();
    } else {
        panels_.DeletePanel();
        panelObject_ = nullptr;
    }
}

void LevelEditor::BuildObjectPanel() {
    Object& object = *selectedObject;
    panels_.NewPanel(object.IsArchetype() ? "Archetype" : "Object");
    panelObject_ = &object;
    if (object.IsArchetype()) {
        panels_.AddButton(kSaveArchetype, [this] { SaveSelectedArchetype(); });
    }
    panels_.AddField("Name", platform::FieldType::Text, &object.filename);
    panels_.AddStruct("Transform2D", PanelTypes::TypeOf(panels_, "Transform2D"), &object.transform);
    for (const auto& [className, component] : object.GetComponents()) {
        const platform::StructType type = PanelTypes::TypeOf(panels_, className);
        if (HiddenFromPanel(className) || type == platform::kNoStruct) {
            continue;
        }
        panels_.AddStruct(className, type, dynamic_cast<void*>(component));
        panels_.AddButton(kRemoveComponent + className, [this, name = className] {
            if (selectedObject) {
                selectedObject->RemoveComponent(name);
                barOutOfDate = true;
                levelTouched_ = true;
            }
        });
    }
    for (const auto& [className, prototype] : ComponentFactory::All()) {
        if (className == "Transform2D" || object.HasComponent(className) ||
            PanelTypes::TypeOf(panels_, className) == platform::kNoStruct) {
            continue;
        }
        panels_.AddButton(kAddComponent + className, [this, name = className] {
            const Component* source = ComponentFactory::Find(name);
            if (selectedObject && source) {
                selectedObject->AddComponent(name, source->Clone());
                barOutOfDate = true;
                levelTouched_ = true;
            }
        });
    }
}

void LevelEditor::BuildSavePanel(std::optional<Exit> then) {
    panelObject_ = nullptr;
    panels_.NewPanel(kSaveLevel);
    levelName = fileName_;
    panels_.AddField(kLevelNameField, platform::FieldType::Text, &levelName);
    if (then) {
        panels_.AddNote("Name the level, then save it.");
        panels_.AddButton(kSaveLevel, [this, then] { SaveAsking(levelName, then); });
        panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
    } else {
        panels_.AddButton(kSaveLevel, [this] { SaveLevelAs(levelName); });
    }
}

void LevelEditor::SaveAsking(const std::string& name, std::optional<Exit> then) {
    if (EditorSaves::WouldEmptyLevelFile(name)) {
        BuildConfirmEmptySavePanel(name, then);
        return;
    }
    std::error_code error;
    if (name != fileName_ && EditorSaves::ReservedBecause(name, false).empty() &&
        std::filesystem::is_regular_file(Assets::PathOf(name), error)) {
        panelObject_ = nullptr;
        panels_.NewPanel(kFileExists);
        panels_.AddNote("\"" + name + "\" is a level this one did not come from. Save over it?");
        panels_.AddButton(kReplaceFile, [this, name, then] { SaveAndSayWhere(name, then); });
        panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
        return;
    }
    SaveAndSayWhere(name, then);
}

void LevelEditor::BuildLoadPanel() {
    panelObject_ = nullptr;
    panels_.NewPanel(kLoadLevel);
    levelName = fileName_;
    panels_.AddField(kLevelNameField, platform::FieldType::Text, &levelName);
    panels_.AddButton(kLoadLevel, [this] { AskThenLoad(levelName); });
    for (const std::string& name : LevelManager::LevelTable()) {
        panels_.AddButton("Load " + name, [this, name] { AskThenLoad(name); });
    }
}

void LevelEditor::AskThenLoad(const std::string& name) {
    const std::size_t count = LevelObjects().size();
    if (count == 0) {
        LoadLevelNamed(name);
        return;
    }
    panelObject_ = nullptr;
    panels_.NewPanel(kLoadOnTop);
    panels_.AddNote("The level holds " + std::to_string(count) +
                    (count == 1 ? " object" : " objects") + ". Load \"" + name +
                    "\" instead of them, or as well?");
    if (unsavedShown_) {
        panels_.AddNote("Its changes are not saved; Ctrl+Z after the load brings them back.");
    }
    panels_.AddButton(kReplaceLevel, [this, name] {
        std::error_code error;
        // A name that loads nothing leaves the level as it is; the load says why.
        if (Assets::IsPlainName(name) &&
            std::filesystem::is_regular_file(Assets::PathOf(name), error)) {
            Deselect();
            ForgetGroup();
            DestroyAllLevelObjects();
        }
        LoadLevelNamed(name);
    });
    panels_.AddButton(kAddToLevel, [this, name] { LoadLevelNamed(name); });
    panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
}

void LevelEditor::BuildConfirmEmptySavePanel(const std::string& name, std::optional<Exit> then) {
    panelObject_ = nullptr;
    panels_.NewPanel(kSaveLevel);
    panels_.AddNote("The level is empty, and \"" + name +
                    "\" holds objects. Save the empty level over it?");
    panels_.AddButton(kSaveEmptyLevel, [this, name, then] { SaveAndSayWhere(name, then); });
    panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
}

bool LevelEditor::SaveAndSayWhere(const std::string& name, std::optional<Exit> then) {
    panelObject_ = nullptr;
    const EditorSaves::Outcome outcome = EditorSaves::SaveLevel(name);
    Report(outcome.saved ? kSaved : kNotSaved, {outcome.message});
    if (!outcome.saved) {
        return false;
    }
    levelName = fileName_ = name;
    MarkSaved();
    if (then) {
        Carry(*then);
    }
    return true;
}

void LevelEditor::Report(const char* title, const std::vector<std::string>& lines) {
    panelObject_ = nullptr;
    panels_.NewPanel(title);
    for (const std::string& line : lines) {
        panels_.AddNote(line);
    }
    reportShownFrame_ = MessagingSystem::FrameNumber();
}

void LevelEditor::DismissOldReport() {
    // About four seconds at the game's rate: long enough to read a line.
    constexpr std::uint64_t kReportFrames = 250;
    const bool report = panels_.HasPanel() && (panels_.Title() == std::string(kSaved) ||
                                               panels_.Title() == std::string(kLoaded));
    if (report && MessagingSystem::FrameNumber() - reportShownFrame_ > kReportFrames) {
        panels_.DeletePanel();
    }
}

void LevelEditor::SaveLevelAs(const std::string& name) {
    SaveAsking(name, std::nullopt);
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
    const std::size_t before = LevelObjects().size();
    DataDiagnostics::Collector reports;
    LoadLevel(name);
    levelName = fileName_ = name;
    for (Object* object : LevelObjects()) {
        object->RemoveComponent("ArchetypeLevelEditorComponent");
    }
    levelTouched_ = true;
    // The file now names the level: its own objects are what it holds, whatever joined them.
    const std::vector<Object*> loaded(LevelObjects().begin() + static_cast<std::ptrdiff_t>(before),
                                      LevelObjects().end());
    savedText_ = LevelText(loaded);
    unsavedShown_ = DiffersFromSaved(LevelText(LevelObjects()));
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
