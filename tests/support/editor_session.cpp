#include "support/editor_session.h"

#include <sstream>

#include "editor/level_editor.h"
#include "input/input_system.h"
#include "levels/data_writer.h"
#include "objects/level_objects.h"
#include "support/scripted_services.h"

namespace testing_support {

EditorSession::EditorSession(const std::vector<std::string>& archetypes) {
    std::string list;
    for (const std::string& entry : archetypes) {
        const std::size_t colon = entry.find(':');
        std::istringstream lines(colon == std::string::npos ? "" : entry.substr(colon + 1));
        std::string file;
        for (std::string line; std::getline(lines >> std::ws, line, ';');) {
            file += line + "\n";
        }
        assets_.Write(entry.substr(0, colon), file);
        list += entry.substr(0, colon) + "\n";
    }
    assets_.Write("Objects", list);
    ScriptedServices made = MakeScriptedServices();
    window_ = made.window;
    panels_ = static_cast<platform::HeadlessPanels*>(made.services.panels.get());
    engine_ = std::make_unique<HeadlessEngine>(std::move(made.services));
    LoadGameData(engine_->core());
    Frames(3);
}

void EditorSession::EnterEditor() {
    Tap(VirtualKey::F5);
    Frames(4);
}

void EditorSession::CloseWindow(int reports) {
    for (int i = 0; i < reports; ++i) {
        window_->Queue([](platform::WindowEvents& e) { e.OnClose(); });
    }
    Frames(1);
}

void EditorSession::Tap(int key) {
    Hold(key, true);
    Hold(key, false);
    // A key counts as pressed again only after two updates up.
    Frames(1);
}

void EditorSession::Hold(int key, bool down) {
    window_->QueueKey(key, down);
    Frames(1);
}

void EditorSession::Chord(int key) {
    Hold(VirtualKey::Control, true);
    Tap(key);
    Hold(VirtualKey::Control, false);
    // Two frames see the release of Ctrl.
    Frames(2);
}

void EditorSession::ChordDiscarding(int key) {
    Chord(key);
    if (panels_->HasPanel() && panels_->Title() == std::string(LevelEditor::kUnsavedChanges)) {
        PressButton(LevelEditor::kDiscard);
    }
}

void EditorSession::Click(int x, int y, bool right, bool withCtrl) {
    const auto button = right ? platform::MouseButton::Right : platform::MouseButton::Left;
    if (withCtrl) {
        Hold(VirtualKey::Control, true);
    }
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(button, true, x, y); });
    Frames(1);
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(button, false, x, y); });
    Frames(1);
    if (withCtrl) {
        Hold(VirtualKey::Control, false);
    }
    Frames(2);
}

void EditorSession::Drag(int fromX, int fromY, int toX, int toY) {
    const auto left = platform::MouseButton::Left;
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(left, true, fromX, fromY); });
    Frames(1);
    Move(toX, toY);
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseButton(left, false, toX, toY); });
    Frames(2);
}

void EditorSession::Move(int x, int y) {
    window_->Queue([=](platform::WindowEvents& e) { e.OnMouseMove(x, y); });
    Frames(1);
}

bool EditorSession::PressButton(const std::string& label) {
    const bool found = panels_->Press(label);
    Frames(2);
    return found;
}

LevelEditor& EditorSession::Editor() {
    return *engine_->core().Get<LevelEditor>("LevelEditor");
}

std::string EditorSession::LevelText() const {
    return ::LevelText(LevelObjects());
}

}  // namespace testing_support
