// Bindings: which keys and pad button play each of the player's actions, and the queries the
// game asks by action instead of by key, so that a player whose keyboard has no W, A, S, D where
// a US one has them can move the actions elsewhere (Options > Controls). The bindings live in the
// settings (meta/settings.h) and every query reads them there, so a change applies at once; the
// changes here go through SettingsKeeper::Change, which saves them at once.
//
// Each action has up to two keys (a primary the controls page rebinds, and a secondary: the arrow
// keys for moving and jumping) and one pad button. No key or button is ever on two actions: taking
// one from another action gives that action the one it replaced. The menus read their own keys
// (arrows, Return, Escape, W / S, pad A / B / D-pad) whatever is bound here, and Escape can be
// bound to nothing (it always pauses and goes back), so no binding can lock a player out.
//
// Pad bindings apply to live pads only. A recording stores pad 0 in the default layout
// (ToDefaultLayout, where the input system reads the device) and plays it back into pad 0; while
// one plays, pad 0's actions are read by the default buttons, so a player's layout can never
// change what a recording, a level's solution among them, does.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/gamepad.h"

struct Settings;

namespace Bindings {

enum class Action {
    MoveLeft,
    MoveRight,
    Down,
    Jump,
    SwitchForm,
    RestartLevel,
    Pause,
    MusicMute,
    SoundMute,
};
inline constexpr int kActionCount = 9;

struct Binding {
    // Virtual-key codes, 0 for none: the primary, then the secondary.
    std::array<int, 2> keys{};
    // One PadButton bit, 0 for none.
    std::uint16_t pad = 0;
    bool operator==(const Binding&) const = default;
};
// Indexed by Action.
using Table = std::array<Binding, kActionCount>;

const Table& Defaults();
Binding& Of(Table& table, Action action);
const Binding& Of(const Table& table, Action action);

// The action's word in the settings file ("jump") and its name on screen ("Jump").
const char* FileWord(Action action);
const char* DisplayName(Action action);
// "W", "Up", "Space", "F7", ...; "Key 0x5B" for a key with no name here; "None" for 0.
std::string KeyName(int key);
// "A", "Start", "D-pad left", ...; "None" for 0. Brief names ("Left", "LS") fit a column headed
// "pad".
std::string PadName(std::uint16_t button, bool brief = false);
// What the controls page shows: "W / Up", "Escape / Q" (a fixed key first), "A".
std::string KeysText(const Table& table, Action action);

// Keys no action may take: Escape and the engine's own keys (the debug keys, L for the sounds).
bool IsReservedKey(int key);
// Bits the pads may bind: one PadButton bit, not the Guide button.
bool IsBindablePad(std::uint16_t button);

struct Change {
    enum class Result { Bound, Unchanged, Swapped, Refused };
    Result result = Result::Unchanged;
    // The action that took the replaced key or button, when Swapped.
    Action other = Action::MoveLeft;
};
// Makes `key` the action's primary key (`button` its pad button). One that another action had
// goes over to this action, and the other action gets the one it replaced in its place; one
// reserved or not bindable is refused and nothing changes.
Change BindKey(Table& table, Action action, int key);
Change BindPad(Table& table, Action action, std::uint16_t button);

// The defaults with the settings' choices over them; a choice naming a reserved key or an
// unbindable button is ignored (hand-edited files).
Table FromSettings(const Settings& settings);
// Writes the actions that differ from their defaults into the settings and removes those that
// do not, leaving the entries of actions this version does not know as they are.
void ToSettings(const Table& table, Settings& settings);

// The live bindings: the settings keeper's, read again only after the settings change.
const Table& Current();
// BindKey / BindPad on the live bindings, saved when they changed.
Change Rebind(Action action, int key);
Change RebindPad(Action action, std::uint16_t button);
void ResetToDefaults();

// The action's keys, as InputSystem::KeyDown / KeyTriggered read them (Escape pauses too).
bool KeysDown(Action action);
bool KeysTriggered(Action action);
// The action's button on gamepad `pad`, as InputSystem::PadButtonDown / Triggered read it.
bool PadDown(Action action, int pad);
bool PadTriggered(Action action, int pad);
// A live pad's record as the default layout has it: each bound button pressed reads as the
// action's default button. Recordings store this, so they play back the same whatever the
// player's layout was when they were made and is when they play.
platform::ControllerState ToDefaultLayout(platform::ControllerState state);

// The keys or the first pad.
bool ActionDown(Action action);
bool ActionTriggered(Action action);

}  // namespace Bindings
