// Gamepads on SDL game controllers: four slots, filled in the order controllers are found.
// A slot whose controller is unplugged empties at its next read; an empty slot takes the next
// unclaimed controller at its next read, so a pad may come and go at any time. SDL's events
// must be pumped (the desktop window does it every frame) for plugging to be noticed.
#pragma once

#include <memory>

#include "platform/gamepad.h"

namespace platform {

std::unique_ptr<Gamepads> MakeSdlGamepads();

}  // namespace platform
