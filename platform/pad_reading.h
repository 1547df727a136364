// A game controller's raw reading in the platform's terms, and how it becomes the XInput-style
// controller record the engine and the recordings use. Kept apart from SDL so the conversion can
// be checked without a controller.
#pragma once

#include <cstdint>

#include "platform/gamepad.h"

namespace platform {

// Axes as game-controller libraries report them: sticks -32768..32767 with +y pointing down,
// triggers 0..32767.
struct PadReading {
    std::uint16_t buttons = 0;  // PadButton bits (platform/gamepad.h) already
    std::int16_t leftX = 0;
    std::int16_t leftY = 0;
    std::int16_t rightX = 0;
    std::int16_t rightY = 0;
    std::int16_t leftTrigger = 0;
    std::int16_t rightTrigger = 0;
};

// The controller record for a reading: sticks with +y up (so -32768 down becomes 32767 up),
// triggers scaled to 0..255. The packet number is left to the caller.
ControllerState ToControllerState(const PadReading& reading);

}  // namespace platform
