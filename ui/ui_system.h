// UISystem: opens and closes the pause menu, builds each menu screen out of button archetypes
// placed around the main camera, moves the gamepad selection, and drives every registered
// GUIComponent (the menu buttons) once per frame.
//
// What a button does is its own business (ChangeLevelButtonComponent): it answers with messages
// such as ShowOptions or AskConfirmation, which this system reads one frame later and turns into
// the next screen. The pause key sends TogglePause or Resume, so the menu also opens one frame
// after the key. The objects of a screen are ordinary level objects owned by LevelObjects; this
// system destroys them when it clears the screen, and forgets them (without destroying) when the
// object system has already destroyed every level object. While the pause menu or one of its
// pages shows, a translucent full-screen veil dims the level behind; it is not a menu entry.
#pragma once

#include <span>
#include <vector>

#include "core/system.h"
#include "objects/component_list.h"

class Object;
struct MenuEntry;

class UISystem : public System {
public:
    void Update() override;
    void HandleMessages() override;
    void Shutdown() override;

    const ComponentList<GUIComponent>& GuiComponents() const { return guiComponents_; }
    // The dimming veil while it shows, else null.
    const Object* Veil() const { return veil_; }

    bool menuOpen = false;
    // Index of the gamepad-selected entry among the registered GUI components.
    int selected = 0;
    // The objects of the screen now shown, in creation order.
    std::vector<Object*> menuObjects;

private:
    void BuildScreen(std::span<const MenuEntry> entries, int confirmTarget = -1);
    void ClearScreen();
    // Drops every pointer to level objects, which the object system destroyed this frame.
    void ForgetLevelObjects();
    void UpdateVeil();
    void Navigate();
    void GuiPass();

    ComponentList<GUIComponent> guiComponents_;
    Object* veil_ = nullptr;
    bool uiStarted_ = false;
    // Seconds since the selection last moved; starts high so the first input is taken at once.
    double navTimer_ = 100.0;
};
