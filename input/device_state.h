// The state of the player's devices as the input system last saw them: the keyboard and the two
// mouse buttons latched per update (ButtonLatch), the mouse position and wheel, and the four
// gamepads with their dead zones. Plain values owned by the input system, which decides where each
// update's pad records come from (the device, or a recording played back).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "input/button_latch.h"
#include "platform/gamepad.h"

namespace input {

class Keyboard {
public:
    static constexpr int kKeyCount = 256;

    // Codes outside 0..255 read as up and are not written.
    bool Triggered(int key) const;
    bool Held(int key) const;
    bool Released(int key) const;
    // While held, the first 35 calls count down and return false; every later call returns true.
    bool Repeat(int key);
    bool AnyTriggered() const;
    bool IsLive(int key) const;

    // As the window writes it: latched, so a quick tap is seen once.
    void Set(int key, bool pressed);
    // Written as it stands, with no latch: random input flips keys inside the update itself.
    void Flip(int key);
    // Reads as down (held and triggered) or up this update, whatever was pressed before.
    void Force(int key, bool down);
    void Advance();
    void Clear();

private:
    static bool Valid(int key) { return key >= 0 && key < kKeyCount; }
    void StartRepeatCountdown(int key);

    std::array<ButtonLatch, kKeyCount> keys_{};
    std::array<std::uint8_t, kKeyCount> countdown_{};
};

struct Mouse {
    // Where the mouse points, in world units when a camera source is set.
    int x = 0;
    int y = 0;
    // The wheel turned since the last update, positive when turned up.
    int wheelDelta = 0;
    ButtonLatch left;
    ButtonLatch right;
};

class Pads {
public:
    static constexpr int kPadCount = 4;

    // The devices read; null reads every pad as missing. They must outlive their use here.
    void Use(platform::Gamepads* gamepads) { gamepads_ = gamepads; }
    platform::Gamepads* Devices() const { return gamepads_; }

    // Counts the probe clock on by `dt` seconds. A missing pad is probed between 0.1 s and 1 s of
    // every second (and at the first update), so a pad plugged in is found without a read of
    // every absent pad on every update.
    void StartUpdate(double dt) { pollTimer_ += dt; }
    bool ProbeDue() const;
    void Probe(int pad);
    void FinishUpdate();

    // The device's record for this update, or none when it is missing.
    std::optional<platform::ControllerState> ReadDevice(int pad) const;
    // This update's record (a missing pad reads neutral and disconnected).
    void Accept(int pad, const std::optional<platform::ControllerState>& state);
    // A recording ran out: the record is neutral, the pad's connection left as it was.
    void Blank(int pad);
    // This update's record replaced after it was read; the record before it stays.
    void Replace(int pad, const platform::ControllerState& state);

    bool Connected(int pad) const { return Valid(pad) && pads_[pad].connected; }
    const platform::ControllerState& Current(int pad) const { return pads_[pad].current; }
    const platform::ControllerState& Previous(int pad) const { return pads_[pad].previous; }
    // How far each stick is beyond its dead zone, in raw units.
    float LeftMagnitude(int pad) const { return Valid(pad) ? pads_[pad].leftMagnitude : 0.0f; }
    float RightMagnitude(int pad) const { return Valid(pad) ? pads_[pad].rightMagnitude : 0.0f; }
    static bool Valid(int pad) { return pad >= 0 && pad < kPadCount; }

private:
    struct Pad {
        platform::ControllerState previous;
        platform::ControllerState current;
        float leftMagnitude = 0.0f;
        float rightMagnitude = 0.0f;
        bool connected = false;
    };

    std::array<Pad, kPadCount> pads_{};
    platform::Gamepads* gamepads_ = nullptr;
    double pollTimer_ = 100000.0;  // the first update probes every pad
};

}  // namespace input
