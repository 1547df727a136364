// ObjectSystem: destroys the live objects on request (ClearLevel, entering the level editor,
// shutdown) and runs the per-object debug-info toggle: Ctrl + left click selects every object under
// the mouse and clears the selection of every other one; a selected object's components echo their
// state into its info text, which the renderer draws as its label.
#pragma once

#include "core/system.h"

class ObjectSystem : public System {
public:
    void Update() override;
    void Shutdown() override;
    void HandleMessages() override;

    bool update = true;
};

// Destroys every object of LevelObjects, first to last.
void DestroyAllLevelObjects();
// Destroys every archetype; for tools and tests that end a run or load a second set of data.
void DestroyAllArchetypes();
