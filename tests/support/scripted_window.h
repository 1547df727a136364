// The one window double of tests and benchmarks: it delivers a script of events (each PumpEvents
// hands over the events queued for that pump, so a test can press a key "during" a chosen frame)
// and is hidden when told to, as a minimised window is. With nothing queued it is a still window.
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/window.h"

namespace testing_support {

class ScriptedWindow : public platform::Window {
public:
    using Event = std::function<void(platform::WindowEvents&)>;

    // Events for the next pump, in order.
    void Queue(Event event) { next_.push_back(std::move(event)); }
    void QueueKey(int virtualKey, bool pressed, bool repeat = false) {
        Queue([=](platform::WindowEvents& e) { e.OnKey(virtualKey, pressed, repeat); });
    }

    void PumpEvents(platform::WindowEvents& events) override {
        for (const Event& event : std::exchange(next_, {})) {
            event(events);
        }
    }
    bool IsHidden() const override { return hidden; }
    platform::DisplayPacing Pacing() const override { return pacing; }

    bool hidden = false;
    platform::DisplayPacing pacing;

private:
    std::deque<Event> next_;
};

}  // namespace testing_support
