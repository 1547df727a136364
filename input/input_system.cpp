#include "input/input_system.h"

#include <array>

#include "objects/object.h"

namespace InputSystem {
namespace {

constexpr int kKeyCount = 256;
constexpr std::uint8_t kRepeatDelay = 35;

struct ButtonState {
    bool live = false;
    bool previous = false;
    bool older = false;
    bool Triggered() const { return live && !previous && !older; }
    bool Released() const { return !live && older; }
    void Advance() {
        older = previous;
        previous = live;
    }
};

struct State {
    std::array<bool, kKeyCount> live{};
    std::array<bool, kKeyCount> previous{};
    std::array<bool, kKeyCount> older{};
    std::array<std::uint8_t, kKeyCount> countdown{};
    ButtonState left;
    ButtonState right;
    int mouseX = 0;
    int mouseY = 0;
    int wheelDelta = 0;
    bool randomInput = false;
};

State& S() {
    static State state;
    return state;
}

bool Valid(int key) {
    return key >= 0 && key < kKeyCount;
}

}  // namespace

void InputInitialize() {
    S() = State{};
}

void Update() {
    State& s = S();
    s.older = s.previous;
    s.previous = s.live;
    s.left.Advance();
    s.right.Advance();
    s.wheelDelta = 0;
}

void InputShutdown() {}

bool KeyTriggered(int key) {
    return Valid(key) && S().live[key] && !S().previous[key] && !S().older[key];
}
bool KeyDown(int key) {
    return Valid(key) && (S().previous[key] || S().live[key]);
}
bool KeyReleased(int key) {
    return Valid(key) && !S().live[key] && S().older[key];
}

bool KeyRepeat(int key) {
    if (!Valid(key) || (!S().live[key] && !S().previous[key])) {
        return false;
    }
    std::uint8_t& countdown = S().countdown[key];
    if (countdown == 0) {
        return true;
    }
    --countdown;
    return false;
}

void SetKey(int key, bool pressed) {
    if (!Valid(key)) {
        return;
    }
    State& s = S();
    s.live[key] = pressed;
    if (pressed && !s.previous[key] && !s.older[key]) {
        s.countdown[key] = kRepeatDelay;
    }
}

void ClearKeys() {
    State& s = S();
    s.live.fill(false);
    s.previous.fill(false);
    s.older.fill(false);
    s.countdown.fill(0);
}

bool MouseLeftDown() {
    return S().left.live;
}
bool MouseLeftTriggered() {
    return S().left.Triggered();
}
bool MouseLeftReleased() {
    return S().left.Released();
}
bool MouseRightDown() {
    return S().right.live;
}
bool MouseRightTriggered() {
    return S().right.Triggered();
}
int GetMouseX() {
    return S().mouseX;
}
int GetMouseY() {
    return S().mouseY;
}
int GetWheelDelta() {
    return S().wheelDelta;
}

bool IsMouseOver(const Object& object) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D s = object.GetTransform().GetScale();
    const auto x = static_cast<float>(S().mouseX);
    const auto y = static_cast<float>(S().mouseY);
    return x >= p.x - s.x && x <= p.x + s.x && y >= p.y - s.y && y <= p.y + s.y;
}

void SetMouseLeft(bool pressed, int x, int y) {
    S().left.live = pressed;
    MoveMouse(x, y);
}
void SetMouseRight(bool pressed, int x, int y) {
    S().right.live = pressed;
    MoveMouse(x, y);
}
void MoveMouse(int x, int y) {
    S().mouseX = x;
    S().mouseY = y;
}
void SetWheelDelta(int delta) {
    S().wheelDelta = delta;
}

void SetRandomInput(bool on) {
    S().randomInput = on;
}
bool IsRandomInputOn() {
    return S().randomInput;
}

}  // namespace InputSystem
