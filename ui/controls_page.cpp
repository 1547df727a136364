#include "ui/controls_page.h"

#include <cstdint>

#include "input/input_system.h"

namespace {

using Bindings::Action;
using Result = Bindings::Change::Result;

constexpr int kPadBits = 16;

std::string Name(Bindings::Action action) {
    return Bindings::DisplayName(action);
}

}  // namespace

void ControlsPage::Open(ListMenu& list) {
    awaited_.reset();
    message_.clear();
    list.Show(kTitle, Rows());
}

std::vector<ListMenu::Row> ControlsPage::Rows() const {
    const Bindings::Table table = Bindings::Current();
    std::vector<ListMenu::Row> rows;
    for (int i = 0; i < Bindings::kActionCount; ++i) {
        const auto action = static_cast<Action>(i);
        std::string value = awaited_ == action
                                ? "Press a key"
                                : Bindings::KeysText(table, action) + " | " +
                                      Bindings::PadName(Bindings::Of(table, action).pad, true);
        rows.push_back({Name(action), std::move(value)});
    }
    rows.push_back({"Reset to defaults", ""});
    rows.push_back({"Back", ""});
    return rows;
}

bool ControlsPage::Frame(ListMenu& list, double dt) {
    if (awaited_) {
        TakePress();
        list.Refresh(Rows());
        return false;
    }
    const ListMenu::Input input = list.Update(dt);
    using Event = ListMenu::Event;
    if (InputSystem::KeyTriggered(VirtualKey::Escape) || input.event == Event::Back ||
        (input.event == Event::Activated && input.row == kBackRow)) {
        return true;
    }
    if (input.event != Event::Activated) {
        return false;
    }
    if (input.row == kResetRow) {
        Bindings::ResetToDefaults();
        message_ = "Every action is back on its first keys and button";
    } else if (input.row >= 0 && input.row < Bindings::kActionCount) {
        Await(static_cast<Action>(input.row));
    }
    list.Refresh(Rows());
    return false;
}

void ControlsPage::Await(Action action) {
    awaited_ = action;
    message_ = "Press a key for " + Name(action) + " (or a pad button; Escape cancels)";
}

void ControlsPage::TakePress() {
    const Action action = *awaited_;
    if (InputSystem::KeyTriggered(VirtualKey::Escape)) {
        awaited_.reset();
        message_ = Name(action) + " unchanged";
        return;
    }
    for (int key = 1; key < 256; ++key) {
        if (InputSystem::KeyTriggered(key)) {
            const int replaced = Bindings::Of(Bindings::Current(), action).keys[0];
            awaited_.reset();
            Said(action, Bindings::KeyName(key), replaced ? Bindings::KeyName(replaced) : "",
                 Bindings::Rebind(action, key));
            return;
        }
    }
    for (int bit = 0; bit < kPadBits; ++bit) {
        const auto button = static_cast<std::uint16_t>(1u << bit);
        if (InputSystem::PadButtonTriggered(0, button)) {
            const std::uint16_t replaced = Bindings::Of(Bindings::Current(), action).pad;
            awaited_.reset();
            Said(action, "pad " + Bindings::PadName(button),
                 replaced ? "pad " + Bindings::PadName(replaced) : "",
                 Bindings::RebindPad(action, button));
            return;
        }
    }
}

void ControlsPage::Said(Action action, const std::string& input, const std::string& replaced,
                        const Bindings::Change& change) {
    switch (change.result) {
        case Result::Refused:
            message_ = input + " is kept for the game; " + Name(action) + " unchanged";
            break;
        case Result::Unchanged:
            message_ = Name(action) + " stays on " + input;
            break;
        case Result::Bound:
            message_ = Name(action) + " now on " + input;
            break;
        case Result::Swapped:
            message_ = Name(action) + " now on " + input + "; " + Name(change.other) +
                       (replaced.empty() ? " lost it" : " moved to " + replaced);
            break;
    }
}
