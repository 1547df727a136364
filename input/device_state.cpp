#include "input/device_state.h"

#include <algorithm>
#include <cmath>

namespace input {
namespace {

constexpr std::uint8_t kRepeatDelay = 35;
constexpr double kMaxStick = 32767.0;
constexpr double kLeftDeadZone = 7849.0;
constexpr double kRightDeadZone = 8689.0;
constexpr double kProbeAfter = 0.1;
constexpr double kPollPeriod = 1.0;

float Magnitude(std::int16_t x, std::int16_t y, double deadZone) {
    const double distance =
        std::min(std::hypot(static_cast<double>(x), static_cast<double>(y)), kMaxStick);
    return static_cast<float>(std::max(0.0, distance - deadZone));
}

}  // namespace

bool Keyboard::Triggered(int key) const {
    return Valid(key) && keys_[key].Triggered();
}
bool Keyboard::Held(int key) const {
    return Valid(key) && keys_[key].Held();
}
bool Keyboard::Released(int key) const {
    return Valid(key) && keys_[key].Released();
}
bool Keyboard::IsLive(int key) const {
    return Valid(key) && keys_[key].live;
}

bool Keyboard::Repeat(int key) {
    if (!Held(key)) {
        return false;
    }
    if (countdown_[key] == 0) {
        return true;
    }
    --countdown_[key];
    return false;
}

bool Keyboard::AnyTriggered() const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [](const ButtonLatch& key) { return key.Triggered(); });
}

void Keyboard::Set(int key, bool pressed) {
    if (Valid(key)) {
        keys_[key].Set(pressed);
        StartRepeatCountdown(key);
    }
}

void Keyboard::Flip(int key) {
    if (Valid(key)) {
        keys_[key].live = !keys_[key].live;
        StartRepeatCountdown(key);
    }
}

void Keyboard::Force(int key, bool down) {
    if (Valid(key)) {
        keys_[key] = ButtonLatch{down, false, false, false};
    }
}

void Keyboard::StartRepeatCountdown(int key) {
    if (keys_[key].Triggered()) {
        countdown_[key] = kRepeatDelay;
    }
}

void Keyboard::Advance() {
    for (ButtonLatch& key : keys_) {
        key.Advance();
    }
}

void Keyboard::Clear() {
    keys_.fill({});
    countdown_.fill(0);
}

bool Pads::ProbeDue() const {
    return pollTimer_ > kProbeAfter;
}

void Pads::Probe(int pad) {
    pads_[pad].connected = ReadDevice(pad).has_value();
}

void Pads::FinishUpdate() {
    if (pollTimer_ > kPollPeriod) {
        pollTimer_ = 0.0;
    }
}

std::optional<platform::ControllerState> Pads::ReadDevice(int pad) const {
    platform::ControllerState state;
    if (gamepads_ && gamepads_->Read(pad, state)) {
        return state;
    }
    return std::nullopt;
}

void Pads::Accept(int index, const std::optional<platform::ControllerState>& state) {
    Pad& pad = pads_[index];
    pad.previous = pad.current;
    pad.current = state.value_or(platform::ControllerState{});
    pad.connected = state.has_value();
    pad.leftMagnitude = state ? Magnitude(state->thumbLX, state->thumbLY, kLeftDeadZone) : 0.0f;
    pad.rightMagnitude = state ? Magnitude(state->thumbRX, state->thumbRY, kRightDeadZone) : 0.0f;
}

void Pads::Replace(int index, const platform::ControllerState& state) {
    const platform::ControllerState previous = pads_[index].previous;
    Accept(index, state);
    pads_[index].previous = previous;
}

void Pads::Blank(int index) {
    Pad& pad = pads_[index];
    pad.previous = pad.current;
    pad.current = {};
}

}  // namespace input
