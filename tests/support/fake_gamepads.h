// A scripted set of four gamepads for input tests: plug, unplug and move them between frames,
// and see what rumble the input system asked for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/gamepad.h"

namespace testing_support {

class FakeGamepads : public platform::Gamepads {
public:
    struct RumbleCall {
        int pad;
        std::uint16_t left;
        std::uint16_t right;
        bool operator==(const RumbleCall&) const = default;
        friend void PrintTo(const RumbleCall& call, std::ostream* out) {
            *out << "pad " << call.pad << ": " << call.left << ", " << call.right;
        }
    };

    // An unset pad is unplugged.
    std::array<std::optional<platform::ControllerState>, 4> pads;
    std::vector<RumbleCall> rumble;
    std::array<int, 4> reads{};

    bool Read(int pad, platform::ControllerState& state) override {
        if (pad < 0 || pad >= 4) {
            return false;
        }
        ++reads[pad];
        if (!pads[pad]) {
            return false;
        }
        state = *pads[pad];
        return true;
    }
    void SetRumble(int pad, std::uint16_t left, std::uint16_t right) override {
        rumble.push_back({pad, left, right});
    }
};

}  // namespace testing_support
