// UISystem: opens and closes the pause menu, builds each menu screen out of button archetypes
// placed around the main camera, moves the gamepad selection, and drives every registered
// GUIComponent (the menu buttons) once per frame.
//
// What a button does is its own business (ChangeLevelButtonComponent): it answers with messages
// such as ShowOptions or AskConfirmation, which this system reads one frame later and turns into
// the next screen. The pause key sends TogglePause or Resume, so the menu also opens one frame
// after the key; on a page of the menu it goes back one page instead. The selection moves with
// the pad, the arrow keys, W / S and Tab, and Return, Space or pad A press the selected button;
// it shows once the pad or the keyboard is used, and the mouse hovers as always. A new screen
// starts on its safe choice: "No" on a question, Resume on the pause menu, the entry a page was
// opened from on the way back. The objects of a screen are ordinary level objects owned by
// LevelObjects; this system destroys them when it clears the screen, and forgets them (without
// destroying) when the object system has already destroyed every level object. While the pause menu
// or one of its pages shows, a translucent full-screen veil dims the level behind; it is not a menu
// entry.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/system.h"
#include "objects/component_list.h"
#include "ui/controls_page.h"
#include "ui/hud.h"
#include "ui/level_select.h"
#include "ui/list_menu.h"

class Object;
struct MenuEntry;

class UISystem : public System {
public:
    // What the menu shows now.
    enum class Screen { None, PauseMenu, Question, Options, Page, Final, Title, Controls, Levels };
    static constexpr const char* kMenuTextOwner = "menu.text";

    UISystem();
    ~UISystem() override;

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
    Screen screen = Screen::None;
    // The mute switches as the audio system has them: both flip on their message.
    bool musicOff = false;
    bool soundOff = false;
    // The title menu and the screens opened from it stand in for the pause menu.
    bool titleMenu = false;
    const ListMenu& List() const { return list_; }
    const Hud& GetHud() const { return hud_; }
    const LevelSelect& Levels() const { return levels_; }

private:
    // The title menu's entries, in order.
    enum TitleEntry { kContinue, kNewGame, kTitleLevels, kTitleOptions, kTitleCredits, kTitleQuit };

    void FileReactions();
    void BuildScreen(std::span<const MenuEntry> entries, int confirmTarget = -1);
    void Show(Screen shown, std::span<const MenuEntry> entries, int confirmTarget = -1);
    // A page or the options, which go back to `returnEntry` of the pause menu.
    void ShowPage(const char* returnEntry, Screen shown, std::span<const MenuEntry> entries);
    // A returning player's title menu, with entry `selected` selected.
    void ShowTitle(int selected);
    void ShowOptions(int selectedRow = 0);
    std::vector<ListMenu::Row> OptionsRows() const;
    // Back from a page of the title menu or the pause menu.
    void GoBack();
    void ListInput(ListMenu::Input input);
    void TitleInput(ListMenu::Input input);
    void OptionsInput(ListMenu::Input input);
    void ShowControls();
    void ControlsFrame();
    // On `selected`, or by default on the level played last (the current one in a level).
    void ShowLevels(std::optional<std::int32_t> selected = std::nullopt);
    void LevelsInput(LevelSelect::Input input);
    // Flips a mute switch that the notice calls `what`, and keeps it in the progress file.
    void FlipMuteSwitch(bool& off, const std::string& what);
    // Selects the entry cloned from `archetype` on the screen now built.
    void SelectEntry(const char* archetype);
    void UpdateMenuText();
    void PauseKey(std::int32_t level);
    bool KeyboardNavigation();
    void ClearScreen();
    // Drops every pointer to level objects, which the object system destroyed this frame.
    void ForgetLevelObjects();
    void UpdateVeil();
    void Navigate();
    void GuiPass();

    ComponentList<GUIComponent> guiComponents_;
    Object* veil_ = nullptr;
    // The keyboard moved or pressed the selection since the mouse last moved.
    bool keyboardSelection_ = false;
    int mouseX_ = 0;
    int mouseY_ = 0;
    // The pause-menu entry to select when a page goes back to it.
    const char* returnEntry_ = "Resume";
    int question_ = 0;
    Hud hud_;
    ListMenu list_;
    ControlsPage controls_;
    LevelSelect levels_;
    // The title menu's entry to select when a page goes back to it.
    int titleReturn_ = 0;
    // The level whose best run was watched from the title menu: the level select opens on it again.
    std::optional<std::int32_t> levelsAfterWatch_;
    // Seconds since the selection last moved; starts high so the first input is taken at once.
    double navTimer_ = 100.0;
};
