#include "platform/pad_reading.h"

#include <algorithm>

namespace platform {
namespace {

std::int16_t FlipY(std::int16_t value) {
    return static_cast<std::int16_t>(std::min(32767, -static_cast<int>(value)));
}

std::uint8_t TriggerByte(std::int16_t value) {
    const int clamped = std::clamp(static_cast<int>(value), 0, 32767);
    return static_cast<std::uint8_t>((clamped * 255 + 16383) / 32767);
}

}  // namespace

ControllerState ToControllerState(const PadReading& reading) {
    ControllerState state;
    state.buttons = reading.buttons;
    state.leftTrigger = TriggerByte(reading.leftTrigger);
    state.rightTrigger = TriggerByte(reading.rightTrigger);
    state.thumbLX = reading.leftX;
    state.thumbLY = FlipY(reading.leftY);
    state.thumbRX = reading.rightX;
    state.thumbRY = FlipY(reading.rightY);
    return state;
}

}  // namespace platform
