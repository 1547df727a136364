// Gamepads as the engine sees them: up to four controllers read into the 16-byte controller record
// that recordings store, and rumble. The desktop implementation uses SDL game controllers; the
// headless twin has none connected.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Little-endian on disk, field for field; the button bits are the XInput ones.
struct ControllerState {
    std::uint32_t packetNumber = 0;
    std::uint16_t buttons = 0;
    std::uint8_t leftTrigger = 0;
    std::uint8_t rightTrigger = 0;
    std::int16_t thumbLX = 0;
    std::int16_t thumbLY = 0;
    std::int16_t thumbRX = 0;
    std::int16_t thumbRY = 0;
};
static_assert(sizeof(ControllerState) == 16, "recordings store the record as 16 bytes");

class Gamepads {
public:
    virtual ~Gamepads() = default;
    // Reads controller `pad` (0..3); false when it is not connected.
    virtual bool Read(int pad, ControllerState& state) = 0;
    // Motor speeds 0..65535.
    virtual void SetRumble(int pad, std::uint16_t left, std::uint16_t right) = 0;
};

std::unique_ptr<Gamepads> MakeNoGamepads();

}  // namespace platform
