// ObjectSystem: destroys the live objects on request (ClearLevel, entering the level editor,
// shutdown) and runs the per-object debug-info toggle: Ctrl + left click selects every object under
// the mouse and clears the selection of every other one; a selected object's components echo their
// state into its info text, which the renderer draws as its label.
//
// The toggle reads the mouse through `selectionInput`, which Core fills from the input system
// (input sits above objects); left empty, nothing is ever selected.
#pragma once

#include <functional>

#include "core/system.h"

class Object;

struct ObjectSelectionInput {
    // Ctrl held and the left button pressed this frame.
    std::function<bool()> selectClicked;
    // Whether the mouse is over the object's bounds.
    std::function<bool(const Object&)> isUnderMouse;
};

class ObjectSystem : public System {
public:
    ObjectSystem();
    void Update() override;
    void Shutdown() override;

    bool update = true;
    ObjectSelectionInput selectionInput;
};

// Destroys every object of LevelObjects, first to last.
void DestroyAllLevelObjects();
// Destroys every archetype; for tools and tests that end a run or load a second set of data.
void DestroyAllArchetypes();
