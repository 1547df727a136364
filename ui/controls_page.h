// ControlsPage: the page of the options that shows each action's keys and pad button
// (input/bindings.h) and rebinds them. Activating an action's row asks for a key; the next key
// or pad button pressed becomes the action's, Escape cancels, a reserved key is refused, and one
// another action had is swapped over, which the page says in a line under the rows. A row resets
// every binding; the last goes back. Changes apply and are saved at once.
//
// The UISystem shows the rows in its ListMenu and, while the page is open, hands each frame to
// Frame() instead of reading the list and the pause key itself: while a key is awaited the list
// must not see the keys it moves by, which are keys like any other here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/bindings.h"
#include "ui/list_menu.h"

class ControlsPage {
public:
    static constexpr const char* kTitle = "Controls: keys | pad";
    // One row per action, then these two.
    static constexpr int kResetRow = Bindings::kActionCount;
    static constexpr int kBackRow = kResetRow + 1;

    // Shows the page in `list`, nothing awaited.
    void Open(ListMenu& list);
    std::vector<ListMenu::Row> Rows() const;
    bool Awaiting() const { return awaited_.has_value(); }
    // The line under the rows: the question while a key is awaited, else what the last choice did.
    const std::string& Message() const { return message_; }
    // Once per frame while the page shows; true when the player leaves it (Back, Escape, pad B).
    bool Frame(ListMenu& list, double dt);

private:
    void Await(Bindings::Action action);
    // The first key or pad button pressed this frame, taken for the awaited action.
    void TakePress();
    // The line for `change`, made by pressing `input` for `action` in place of `replaced` (empty
    // when the action had none).
    void Said(Bindings::Action action, const std::string& input, const std::string& replaced,
              const Bindings::Change& change);

    std::optional<Bindings::Action> awaited_;
    std::string message_;
};
