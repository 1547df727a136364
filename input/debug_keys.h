// The debug keys: one table binds each to the command it sends. The window calls
// SendDebugCommands once per step, right after it has fed that step's keys, so each press sends
// its command once; the systems concerned carry the commands out the step after (the queue's
// delay), gated as their own updates are (the level skips only while the first player controls
// the character, the end skip only on its own level, and so on).
#pragma once

#include <array>

#include "core/messages.h"
#include "input/input_system.h"

namespace DebugKeys {

struct Binding {
    int key;
    DebugCommand command;
};

inline constexpr std::array<Binding, 10> kBindings{{
    {VirtualKey::F1, DebugCommand::ToggleOverlay},
    {VirtualKey::F3, DebugCommand::RandomInputOn},
    {VirtualKey::F4, DebugCommand::RandomInputOff},
    {VirtualKey::F5, DebugCommand::LevelEditor},
    {VirtualKey::F6, DebugCommand::ArchetypeEditor},
    {VirtualKey::F12, DebugCommand::Screenshot},
    {VirtualKey::Home, DebugCommand::NextLevel},
    {VirtualKey::End, DebugCommand::PreviousLevel},
    {VirtualKey::PageUp, DebugCommand::EndLevel},
    {VirtualKey::PageDown, DebugCommand::EndSkip},
}};

// Sends a DebugCommand message for every bound key triggered now, in the table's order.
void SendDebugCommands();

}  // namespace DebugKeys
