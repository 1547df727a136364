// ListMenu: a menu of rows drawn by the game itself rather than from button archetypes: each row
// a bar with its label on the left and, for a setting, its value on the right. The title menu
// and the options are lists; their rows change with the settings, which no fixed button art could
// show.
//
// The selection moves with Up / Down (W / S, Tab), the pad's D-pad or stick, and follows the
// mouse; Left / Right (A / D, D-pad, stick) step a value; Return, Space, pad A or a click
// activate (a click on a value's left half steps it down, on its right half up); pad B asks to go
// back. Escape is the owner's: it also closes the pause menu. Input waits for the second frame a
// list shows, so the press that opened it does not act on it too.
//
// The bars are ordinary level objects (so a level change or an editor destroys them with the
// rest); Forget() drops them without destroying, when that has happened.
#pragma once

#include <string>
#include <vector>

class Object;

class ListMenu {
public:
    static constexpr const char* kTextOwner = "menu.list";

    struct Row {
        std::string label;
        // Empty for a plain action.
        std::string value;
    };
    enum class Event { None, Activated, Decreased, Increased, Back };
    struct Input {
        Event event = Event::None;
        int row = -1;
    };

    ListMenu() = default;
    ~ListMenu();
    ListMenu(const ListMenu&) = delete;
    ListMenu& operator=(const ListMenu&) = delete;

    // Builds the rows around the main camera, under `title`, with row `selected` selected.
    void Show(std::string title, std::vector<Row> rows, int selected = 0);
    // New labels and values for the rows shown (the same number of them).
    void Refresh(std::vector<Row> rows);
    void Hide();
    void Forget();
    bool Showing() const { return !bars_.empty(); }
    int Selected() const { return selected_; }
    // Once per frame while showing: reads the input and redraws the selection.
    Input Update(double dt);

private:
    void Draw();
    int MouseRow() const;

    std::string title_;
    std::vector<Row> rows_;
    std::vector<Object*> bars_;
    int selected_ = 0;
    int framesShown_ = 0;
    int mouseX_ = 0;
    int mouseY_ = 0;
    double navTimer_ = 100.0;
};
