// Random input, a soak test: while on, one of the movement keys (A, D, W, Space) flips every 0 to
// 59 steps, and every step prints a trace line "<next event> <steps since the last> <key> <1 when
// it was up>" to standard output, so that a run can be replayed from its seed.
#pragma once

#include <cstdint>
#include <ostream>
#include <random>

#include "input/device_state.h"

namespace input {

class RandomInput {
public:
    void Seed(std::uint32_t seed) { generator_.seed(seed); }
    // The generator's next number; playback draws from it too, to pick among recordings.
    std::uint32_t Draw() { return static_cast<std::uint32_t>(generator_()); }

    // Switching off leaves pressed keys pressed.
    void Switch(bool on) { on_ = on; }
    bool IsOn() const { return on_; }

    // One step: counts it, flips the keys whose event came, traces.
    void Step(Keyboard& keyboard, std::ostream& trace);

private:
    void DrawEvent();
    void Trace(const Keyboard& keyboard, std::ostream& out) const;

    bool on_ = false;
    std::uint64_t steps_ = 0;  // since the last event
    std::int32_t nextEvent_ = -1;
    int key_ = 0;
    std::mt19937 generator_;
};

}  // namespace input
