#include "platform/window_event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Recorder : public platform::WindowEvents {
public:
    void OnKey(int key, bool pressed, bool repeat) override {
        log.push_back("key " + std::to_string(key) + (pressed ? " down" : " up") +
                      (repeat ? " repeat" : ""));
    }
    void OnMouseMove(int x, int y) override {
        log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void OnMouseButton(platform::MouseButton b, bool pressed, int x, int y) override {
        log.push_back(std::string(b == platform::MouseButton::Left ? "left" : "right") +
                      (pressed ? " down " : " up ") + std::to_string(x) + "," + std::to_string(y));
    }
    void OnWheel(int delta) override { log.push_back("wheel " + std::to_string(delta)); }
    void OnClose() override { log.push_back("close"); }
    std::vector<std::string> log;
};

class GreedyPanels : public platform::PanelEvents {
public:
    bool Consume(const void* native) override {
        seen.push_back(native);
        return true;
    }
    std::vector<const void*> seen;
};

using platform::WindowEvent;
using Kind = platform::WindowEventKind;

// Each event delivered alone, with greedy panels and without any: what the game hears.
TEST(WindowEvent, PanelsSeeEveryEventFirstAndKeepAllButReleasesAndClosing) {
    const struct {
        const char* name;
        WindowEvent event;
        const char* withPanels;  // what reaches the game past panels that consume everything
        const char* alone;
    } cases[] = {
        {"key",
         {.kind = Kind::Key, .virtualKey = 0x20, .pressed = true, .repeat = true},
         "",
         "key 32 down repeat"},
        {"key without a code", {.kind = Kind::Key, .pressed = true}, "", ""},
        {"press",
         {.kind = Kind::MouseButton, .pressed = true, .x = 3, .y = 4},
         "",
         "left down 3,4"},
        {"release", {.kind = Kind::MouseButton, .x = 3, .y = 4}, "left up 3,4", "left up 3,4"},
        {"close", {.kind = Kind::Close}, "close", "close"},
        {"wheel", {.kind = Kind::Wheel, .wheel = -120}, "", "wheel -120"},
        {"move", {.kind = Kind::MouseMove, .x = 7, .y = -2}, "", "move 7,-2"},
        {"other", {}, "", ""},
    };
    auto heard = [](const std::string& line) {
        return line.empty() ? std::vector<std::string>{} : std::vector<std::string>{line};
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder game;
        GreedyPanels panels;
        const int native = 0;
        platform::DeliverEvent(c.event, &native, &panels, game);
        EXPECT_EQ(panels.seen, std::vector<const void*>{&native});
        EXPECT_EQ(game.log, heard(c.withPanels));
        Recorder alone;
        platform::DeliverEvent(c.event, nullptr, nullptr, alone);
        EXPECT_EQ(alone.log, heard(c.alone));
    }
}

}  // namespace
