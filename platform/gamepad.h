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

// XInput button bits, as stored in ControllerState::buttons.
namespace PadButton {
inline constexpr std::uint16_t DPadUp = 0x0001;
inline constexpr std::uint16_t DPadDown = 0x0002;
inline constexpr std::uint16_t DPadLeft = 0x0004;
inline constexpr std::uint16_t DPadRight = 0x0008;
inline constexpr std::uint16_t Start = 0x0010;
inline constexpr std::uint16_t Back = 0x0020;
inline constexpr std::uint16_t LeftThumb = 0x0040;
inline constexpr std::uint16_t RightThumb = 0x0080;
inline constexpr std::uint16_t LeftShoulder = 0x0100;
inline constexpr std::uint16_t RightShoulder = 0x0200;
inline constexpr std::uint16_t Guide = 0x0400;
inline constexpr std::uint16_t A = 0x1000;
inline constexpr std::uint16_t B = 0x2000;
inline constexpr std::uint16_t X = 0x4000;
inline constexpr std::uint16_t Y = 0x8000;
}  // namespace PadButton

class Gamepads {
public:
    virtual ~Gamepads() = default;
    // Reads controller `pad` (0..3); false when it is not connected. Also the presence probe: a
    // pad that has just been plugged in is picked up by a read.
    virtual bool Read(int pad, ControllerState& state) = 0;
    // Motor speeds 0..65535.
    virtual void SetRumble(int pad, std::uint16_t left, std::uint16_t right) = 0;
};

std::unique_ptr<Gamepads> MakeNoGamepads();

}  // namespace platform
