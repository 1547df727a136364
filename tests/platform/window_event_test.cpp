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

platform::WindowEvent Button(bool pressed) {
    platform::WindowEvent e;
    e.kind = platform::WindowEventKind::MouseButton;
    e.button = platform::MouseButton::Left;
    e.pressed = pressed;
    e.x = 3;
    e.y = 4;
    return e;
}

TEST(WindowEvent, PanelsSeeEveryEventFirstAndKeepWhatTheyUse) {
    Recorder game;
    GreedyPanels panels;
    int native = 0;
    platform::WindowEvent key;
    key.kind = platform::WindowEventKind::Key;
    key.virtualKey = 'A';
    key.pressed = true;
    platform::DeliverEvent(key, &native, &panels, game);
    platform::DeliverEvent(Button(true), &native, &panels, game);
    EXPECT_TRUE(game.log.empty());
    EXPECT_EQ(panels.seen.size(), 2u);
    EXPECT_EQ(panels.seen[0], &native);
}

TEST(WindowEvent, AButtonReleaseOverAPanelStillReachesTheGame) {
    Recorder game;
    GreedyPanels panels;
    platform::DeliverEvent(Button(false), nullptr, &panels, game);
    platform::WindowEvent close;
    close.kind = platform::WindowEventKind::Close;
    platform::DeliverEvent(close, nullptr, &panels, game);
    EXPECT_EQ(game.log, (std::vector<std::string>{"left up 3,4", "close"}));
}

TEST(WindowEvent, WithoutPanelsEverythingReachesTheGame) {
    Recorder game;
    platform::WindowEvent e;
    e.kind = platform::WindowEventKind::Key;
    e.virtualKey = 0x20;
    e.pressed = true;
    e.repeat = true;
    platform::DeliverEvent(e, nullptr, nullptr, game);
    e.virtualKey = 0;  // a key without a code is dropped
    platform::DeliverEvent(e, nullptr, nullptr, game);
    e = {};
    e.kind = platform::WindowEventKind::Wheel;
    e.wheel = -120;
    platform::DeliverEvent(e, nullptr, nullptr, game);
    e = {};
    e.kind = platform::WindowEventKind::MouseMove;
    e.x = 7;
    e.y = -2;
    platform::DeliverEvent(e, nullptr, nullptr, game);
    platform::DeliverEvent(platform::WindowEvent{}, nullptr, nullptr, game);
    EXPECT_EQ(game.log,
              (std::vector<std::string>{"key 32 down repeat", "wheel -120", "move 7,-2"}));
}

}  // namespace
