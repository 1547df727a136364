// A software game controller that the desktop gamepads find as if it were plugged in: for tests
// and tools that drive the game without hardware. Buttons and axes are given in the game-
// controller library's own numbering (below), so a test can check the translation to the XInput
// record independently of it.
//
// Plugging one starts the controller subsystem on its own; no window is needed.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

class VirtualGamepad {
public:
    // Buttons: A 0, B 1, X 2, Y 3, Back 4, Guide 5, Start 6, left stick 7, right stick 8,
    // left shoulder 9, right shoulder 10, D-pad up 11, down 12, left 13, right 14.
    // Axes: left x 0, left y 1 (+ is down), right x 2, right y 3, left trigger 4, right trigger 5
    // (triggers from -32768 released to 32767 fully pulled).
    static constexpr int kButtons = 15;
    static constexpr int kAxes = 6;

    // Null when the library offers no virtual controllers.
    static std::unique_ptr<VirtualGamepad> Plug();
    virtual ~VirtualGamepad() = default;  // unplugs

    virtual void SetButton(int button, bool down) = 0;
    virtual void SetAxis(int axis, std::int16_t value) = 0;
    // The last motor speeds the game asked for (low-frequency, high-frequency).
    virtual std::uint16_t LowMotor() const = 0;
    virtual std::uint16_t HighMotor() const = 0;
};

}  // namespace platform
