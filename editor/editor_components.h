// The palette's components. While the level editor runs, every archetype is shown as an icon in
// a column of the palette view, and the component on it turns clicks into editor actions:
// ArchetypeLevelEditorComponent in the level editor's palette (a click places an instance, a
// right click opens the archetype's panel, Ctrl+click picks it for painting), and
// ArchetypeObjectEditorComponent in the archetype view (a click selects the archetype). Both
// scroll with Page Up / Page Down and the wheel.
//
// Both announce themselves to the editor (family 2) from their constructors; the editor updates
// them while it is on and drops them once they lose their owner. Neither is ever written to a
// data file, listed in a panel or offered as an added component. ComponentTemplate is the empty
// game-logic component a new component class starts from.
#pragma once

#include "objects/component.h"
#include "objects/component_registration.h"

class ArchetypeLevelEditorComponent
    : public ComponentOf<ArchetypeLevelEditorComponent, EditorComponent> {
public:
    ArchetypeLevelEditorComponent() = default;
    explicit ArchetypeLevelEditorComponent(int o) : offset(o) {}
    void Update() override;
    void OnDestroy() override { owner = nullptr; }

    // The icon's place below the top of the palette column, in world units.
    int offset = 0;
};

class ArchetypeObjectEditorComponent
    : public ComponentOf<ArchetypeObjectEditorComponent, EditorComponent> {
public:
    ArchetypeObjectEditorComponent() = default;
    explicit ArchetypeObjectEditorComponent(int o) : offset(o) {}
    void Update() override;

    int offset = 0;
};

class ComponentTemplate : public ComponentOf<ComponentTemplate, GameLogicComponent> {
public:
    void Update() override { HandleMessages(); }
};
