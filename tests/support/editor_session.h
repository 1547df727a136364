// Test fixture for the editor: a headless engine on a scripted window with archetypes read from a
// temporary assets folder, switched into the level editor the way F5 does it, and a designer's
// hands: key presses, chords with Ctrl, clicks and drags delivered through the window's events,
// so the editor sees exactly what it would see from the desktop. Mouse positions are world units
// (the headless renderer offers no cameras to the mouse).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_panels.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"
#include "support/scripted_window.h"

class LevelEditor;

namespace testing_support {

class EditorSession {
public:
    // `archetypes`: one "<name>: <component line>; <component line>" per archetype, listed in
    // "Objects" in this order.
    explicit EditorSession(const std::vector<std::string>& archetypes);

    // Presses F5 and runs until the editor is on and its level settled.
    void EnterEditor();
    void Frames(int count) { engine_->RunFrames(count); }

    void Tap(int key);
    // Holds Ctrl, taps `key`, lets Ctrl go.
    void Chord(int key);
    // The same, answering Discard when the editor asks about unsaved changes (Ctrl+N, Ctrl+L).
    void ChordDiscarding(int key);
    void Click(int x, int y, bool right = false, bool withCtrl = false);
    // Presses the left button at `from`, moves to `to` while held, releases there.
    void Drag(int fromX, int fromY, int toX, int toY);
    void Hold(int key, bool down);
    // Moves the mouse to (x, y) with no button held.
    void Move(int x, int y);
    // The window manager's close button, then a frame. `reports` is how many close events the
    // click arrives as in that frame (SDL sends a window close and then a quit).
    void CloseWindow(int reports = 1);

    // Queues a press of the panel button `label` and runs a frame for the editor to act on it.
    bool PressButton(const std::string& label);

    LevelEditor& Editor();
    platform::HeadlessPanels& Panels() { return *panels_; }
    TempAssets& Assets() { return assets_; }
    // The level as a save writes it.
    std::string LevelText() const;

private:
    TempAssets assets_;
    ScriptedWindow* window_ = nullptr;
    platform::HeadlessPanels* panels_ = nullptr;
    std::unique_ptr<HeadlessEngine> engine_;
};

}  // namespace testing_support
