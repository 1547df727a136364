// The editor's panels: the object or archetype panel of the selection, and the save, load and
// confirmation panels of the level.
#include <string>

#include "core/messaging.h"
#include "editor/level_editor.h"
#include "editor/level_saves.h"
#include "editor/panel_types.h"
#include "objects/component.h"
#include "objects/component_factory.h"
#include "objects/level_manager.h"
#include "objects/object.h"
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
    panels_.AddField(kLevelNameField, platform::FieldType::Text, &levelName);
    if (then) {
        panels_.AddNote("Name the level, then save it.");
        panels_.AddButton(kSaveLevel, [this, then] {
            if (EditorSaves::WouldEmptyLevelFile(levelName)) {
                BuildConfirmEmptySavePanel(levelName);
            } else {
                SaveAndSayWhere(levelName, then);
            }
        });
        panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
    } else {
        panels_.AddButton(kSaveLevel, [this] { SaveLevelAs(levelName); });
    }
}

void LevelEditor::BuildLoadPanel() {
    panelObject_ = nullptr;
    panels_.NewPanel(kLoadLevel);
    panels_.AddField(kLevelNameField, platform::FieldType::Text, &levelName);
    panels_.AddButton(kLoadLevel, [this] { LoadLevelNamed(levelName); });
    for (const std::string& name : LevelManager::LevelTable()) {
        panels_.AddButton("Load " + name, [this, name] { LoadLevelNamed(name); });
    }
}

void LevelEditor::BuildConfirmEmptySavePanel(const std::string& name) {
    panelObject_ = nullptr;
    panels_.NewPanel(kSaveLevel);
    panels_.AddNote("The level is empty, and \"" + name +
                    "\" holds objects. Save the empty level over it?");
    panels_.AddButton(kSaveEmptyLevel, [this, name] { SaveAndSayWhere(name); });
    panels_.AddButton(kCancel, [this] { panels_.DeletePanel(); });
}

bool LevelEditor::SaveAndSayWhere(const std::string& name, std::optional<Exit> then) {
    panelObject_ = nullptr;
    const EditorSaves::Outcome outcome = EditorSaves::SaveLevel(name);
    Report(outcome.saved ? kSaved : kNotSaved, {outcome.message});
    if (!outcome.saved) {
        return false;
    }
    levelName = name;
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
