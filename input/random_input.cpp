#include "input/random_input.h"

#include <iterator>

#include "input/input_system.h"

namespace input {
namespace {

constexpr int kEventSpan = 60;
// Space twice: form switches come as often as moves.
constexpr int kKeys[5] = {'A', 'D', 'W', VirtualKey::Space, VirtualKey::Space};

}  // namespace

void RandomInput::DrawEvent() {
    nextEvent_ = static_cast<std::int32_t>(Draw() % kEventSpan);
    key_ = static_cast<int>(Draw() % std::size(kKeys));
}

void RandomInput::Trace(const Keyboard& keyboard, std::ostream& out) const {
    const int key = kKeys[key_];
    out << nextEvent_ << ' ' << steps_ << ' ' << key << ' ' << (keyboard.IsLive(key) ? 0 : 1)
        << '\n';
}

void RandomInput::Step(Keyboard& keyboard, std::ostream& trace) {
    if (nextEvent_ == -1) {
        DrawEvent();
    }
    ++steps_;
    // "At or past" rather than "at": the count is already 1 when a first event of 0 is drawn, so
    // an exact match would be stepped over and random input would never press anything again.
    while (steps_ >= static_cast<std::uint64_t>(nextEvent_)) {
        Trace(keyboard, trace);
        keyboard.Flip(kKeys[key_]);
        DrawEvent();
        steps_ = 0;
    }
    Trace(keyboard, trace);
}

}  // namespace input
