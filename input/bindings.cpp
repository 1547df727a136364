#include "input/bindings.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "input/debug_keys.h"
#include "input/input_system.h"
#include "meta/settings.h"

namespace Bindings {
namespace {

namespace VK = VirtualKey;

struct ActionInfo {
    const char* fileWord;
    const char* displayName;
    Binding defaults;
};

// In Action order.
constexpr std::array<ActionInfo, kActionCount> kActions{{
    {"move-left", "Move left", {{'A', VK::Left}, PadButton::DPadLeft}},
    {"move-right", "Move right", {{'D', VK::Right}, PadButton::DPadRight}},
    {"down", "Press down", {{'S', VK::Down}, 0}},
    {"jump", "Jump", {{'W', VK::Up}, PadButton::A}},
    {"switch-form", "Switch form", {{VK::Space, 0}, PadButton::X}},
    {"restart-level", "Restart level", {{'R', 0}, 0}},
    {"pause", "Pause", {{0, 0}, PadButton::Start}},
    {"music-mute", "Music on / off", {{'O', 0}, 0}},
    {"sound-mute", "Sound on / off", {{'P', 0}, 0}},
}};

// The key that restarts the sounds, read where the level keys are.
constexpr int kRestartSoundsKey = 'L';

std::size_t Index(Action action) {
    return static_cast<std::size_t>(action);
}

struct KeyWord {
    int key;
    const char* name;
};
constexpr KeyWord kKeyNames[] = {
    {VK::Back, "Backspace"},
    {VK::Tab, "Tab"},
    {VK::Return, "Enter"},
    {VK::Shift, "Shift"},
    {VK::Control, "Ctrl"},
    {VK::Menu, "Alt"},
    {VK::Escape, "Escape"},
    {VK::Space, "Space"},
    {VK::PageUp, "Page up"},
    {VK::PageDown, "Page down"},
    {VK::End, "End"},
    {VK::Home, "Home"},
    {VK::Left, "Left"},
    {VK::Up, "Up"},
    {VK::Right, "Right"},
    {VK::Down, "Down"},
    {0x2D, "Insert"},
    {VK::Delete, "Delete"},
    {VK::Plus, "="},
    {VK::Minus, "-"},
    {0xBA, ";"},
    {0xBC, ","},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
    {0xE2, "<"},
};

struct PadWord {
    std::uint16_t button;
    const char* name;
    // For a column headed "pad".
    const char* brief;
};
constexpr PadWord kPadNames[] = {
    {PadButton::A, "A", "A"},
    {PadButton::B, "B", "B"},
    {PadButton::X, "X", "X"},
    {PadButton::Y, "Y", "Y"},
    {PadButton::Start, "Start", "Start"},
    {PadButton::Back, "Back", "Back"},
    {PadButton::LeftShoulder, "LB", "LB"},
    {PadButton::RightShoulder, "RB", "RB"},
    {PadButton::LeftThumb, "Left stick", "LS"},
    {PadButton::RightThumb, "Right stick", "RS"},
    {PadButton::DPadUp, "D-pad up", "Up"},
    {PadButton::DPadDown, "D-pad down", "Down"},
    {PadButton::DPadLeft, "D-pad left", "Left"},
    {PadButton::DPadRight, "D-pad right", "Right"},
};

// Escape pauses whatever is bound.
int FixedKey(Action action) {
    return action == Action::Pause ? VK::Escape : 0;
}

std::uint16_t PadButtonFor(Action action, int pad) {
    // A recording plays pad 0 in the layout it was made in.
    if (pad == 0 && InputSystem::IsPlayingBack()) {
        return Of(Defaults(), action).pad;
    }
    return Of(Current(), action).pad;
}

}  // namespace

const Table& Defaults() {
    static const Table table = [] {
        Table defaults;
        for (std::size_t i = 0; i < defaults.size(); ++i) {
            defaults[i] = kActions[i].defaults;
        }
        return defaults;
    }();
    return table;
}

Binding& Of(Table& table, Action action) {
    return table[Index(action)];
}
const Binding& Of(const Table& table, Action action) {
    return table[Index(action)];
}

const char* FileWord(Action action) {
    return kActions[Index(action)].fileWord;
}
const char* DisplayName(Action action) {
    return kActions[Index(action)].displayName;
}

std::string KeyName(int key) {
    if (key == 0) {
        return "None";
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK::F1 && key < VK::F1 + 24) {
        return "F" + std::to_string(key - VK::F1 + 1);
    }
    if (key >= 0x60 && key <= 0x69) {
        return "Keypad " + std::to_string(key - 0x60);
    }
    for (const KeyWord& entry : kKeyNames) {
        if (entry.key == key) {
            return entry.name;
        }
    }
    char name[16];
    std::snprintf(name, sizeof name, "Key 0x%02X", key & 0xFF);
    return name;
}

std::string PadName(std::uint16_t button, bool brief) {
    for (const PadWord& entry : kPadNames) {
        if (entry.button == button) {
            return brief ? entry.brief : entry.name;
        }
    }
    return "None";
}

std::string KeysText(const Table& table, Action action) {
    std::string text;
    const auto add = [&text](int key) {
        if (key != 0) {
            text += (text.empty() ? "" : " / ") + KeyName(key);
        }
    };
    add(FixedKey(action));
    for (int key : Of(table, action).keys) {
        add(key);
    }
    return text.empty() ? "None" : text;
}

bool IsReservedKey(int key) {
    if (key <= 0 || key > 255 || key == VK::Escape || key == kRestartSoundsKey) {
        return true;
    }
    return std::any_of(DebugKeys::kBindings.begin(), DebugKeys::kBindings.end(),
                       [key](const DebugKeys::Binding& debug) { return debug.key == key; });
}

bool IsBindablePad(std::uint16_t button) {
    return std::any_of(std::begin(kPadNames), std::end(kPadNames),
                       [button](const PadWord& entry) { return entry.button == button; });
}

Change BindKey(Table& table, Action action, int key) {
    if (IsReservedKey(key)) {
        return {Change::Result::Refused, action};
    }
    Binding& mine = Of(table, action);
    const int replaced = mine.keys[0];
    if (key == replaced) {
        return {Change::Result::Unchanged, action};
    }
    mine.keys[0] = key;
    if (mine.keys[1] == key) {
        mine.keys[1] = replaced;
        return {Change::Result::Bound, action};
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto& keys = table[i].keys;
        const auto taken = std::find(keys.begin(), keys.end(), key);
        if (i != Index(action) && taken != keys.end()) {
            *taken = replaced;
            return {Change::Result::Swapped, static_cast<Action>(i)};
        }
    }
    return {Change::Result::Bound, action};
}

Change BindPad(Table& table, Action action, std::uint16_t button) {
    if (!IsBindablePad(button)) {
        return {Change::Result::Refused, action};
    }
    Binding& mine = Of(table, action);
    const std::uint16_t replaced = mine.pad;
    if (button == replaced) {
        return {Change::Result::Unchanged, action};
    }
    mine.pad = button;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i != Index(action) && table[i].pad == button) {
            table[i].pad = replaced;
            return {Change::Result::Swapped, static_cast<Action>(i)};
        }
    }
    return {Change::Result::Bound, action};
}

Table FromSettings(const Settings& settings) {
    Table table = Defaults();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto keys = settings.keys.find(kActions[i].fileWord);
        if (keys != settings.keys.end() &&
            std::none_of(keys->second.begin(), keys->second.end(),
                         [](int key) { return key != 0 && IsReservedKey(key); })) {
            table[i].keys = keys->second;
        }
        const auto pad = settings.padButtons.find(kActions[i].fileWord);
        if (pad != settings.padButtons.end() && (pad->second == 0 || IsBindablePad(pad->second))) {
            table[i].pad = pad->second;
        }
    }
    return table;
}

void ToSettings(const Table& table, Settings& settings) {
    const Table& defaults = Defaults();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string word = kActions[i].fileWord;
        if (table[i].keys == defaults[i].keys) {
            settings.keys.erase(word);
        } else {
            settings.keys[word] = table[i].keys;
        }
        if (table[i].pad == defaults[i].pad) {
            settings.padButtons.erase(word);
        } else {
            settings.padButtons[word] = table[i].pad;
        }
    }
}

const Table& Current() {
    // Input asks for every action several times a step; the settings change only from a menu.
    static Table live = Defaults();
    static std::optional<std::uint64_t> readAt;
    if (readAt != SettingsKeeper::Revision()) {
        live = FromSettings(SettingsKeeper::Current());
        readAt = SettingsKeeper::Revision();
    }
    return live;
}

namespace {

Change Save(const Table& table, Change change) {
    if (change.result == Change::Result::Bound || change.result == Change::Result::Swapped) {
        SettingsKeeper::Change([&table](Settings& settings) { ToSettings(table, settings); });
    }
    return change;
}

}  // namespace

Change Rebind(Action action, int key) {
    Table table = Current();
    const Change change = BindKey(table, action, key);
    return Save(table, change);
}

Change RebindPad(Action action, std::uint16_t button) {
    Table table = Current();
    const Change change = BindPad(table, action, button);
    return Save(table, change);
}

void ResetToDefaults() {
    SettingsKeeper::Change([](Settings& settings) { ToSettings(Defaults(), settings); });
}

bool KeysDown(Action action) {
    const Binding binding = Of(Current(), action);
    return InputSystem::KeyDown(FixedKey(action)) ||
           std::any_of(binding.keys.begin(), binding.keys.end(),
                       [](int key) { return key != 0 && InputSystem::KeyDown(key); });
}

bool KeysTriggered(Action action) {
    const Binding binding = Of(Current(), action);
    return InputSystem::KeyTriggered(FixedKey(action)) ||
           std::any_of(binding.keys.begin(), binding.keys.end(),
                       [](int key) { return key != 0 && InputSystem::KeyTriggered(key); });
}

bool PadDown(Action action, int pad) {
    const std::uint16_t button = PadButtonFor(action, pad);
    return button != 0 && InputSystem::PadButtonDown(pad, button);
}

bool PadTriggered(Action action, int pad) {
    const std::uint16_t button = PadButtonFor(action, pad);
    return button != 0 && InputSystem::PadButtonTriggered(pad, button);
}

platform::ControllerState ToDefaultLayout(platform::ControllerState state) {
    const Table& live = Current();
    const Table& defaults = Defaults();
    std::uint16_t bound = 0;
    std::uint16_t buttons = 0;
    for (std::size_t i = 0; i < live.size(); ++i) {
        bound |= live[i].pad | defaults[i].pad;
        if (live[i].pad != 0 && (state.buttons & live[i].pad) != 0) {
            buttons |= defaults[i].pad;
        }
    }
    state.buttons = static_cast<std::uint16_t>((state.buttons & ~bound) | buttons);
    return state;
}

bool ActionDown(Action action) {
    return KeysDown(action) || PadDown(action, 0);
}

bool ActionTriggered(Action action) {
    return KeysTriggered(action) || PadTriggered(action, 0);
}

}  // namespace Bindings
