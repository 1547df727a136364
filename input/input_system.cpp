#include "input/input_system.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <iostream>
#include <random>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "input/input_recording.h"
#include "objects/level_manager.h"
#include "objects/object.h"

namespace InputSystem {
namespace {

constexpr int kKeyCount = 256;
constexpr std::uint8_t kRepeatDelay = 35;
constexpr int kPadCount = 4;
constexpr double kMaxStick = 32767.0;
constexpr double kLeftDeadZone = 7849.0;
constexpr double kRightDeadZone = 8689.0;
// The first update probes every pad; afterwards missing pads are probed between 0.1 s and 1 s
// of every second.
constexpr double kFirstPollTimer = 100000.0;
constexpr double kProbeAfter = 0.1;
constexpr double kPollPeriod = 1.0;
constexpr int kRandomEventSpan = 60;
constexpr int kRandomKeys[5] = {'A', 'D', 'W', VirtualKey::Space, VirtualKey::Space};

// A press released again before the next update (a quick tap, or any tap during a long frame)
// stays live until that update, so every reader after the pump sees it triggered once.
struct ButtonState {
    bool live = false;
    bool previous = false;
    bool older = false;
    bool tapped = false;  // released, but kept live until the next update
    bool Triggered() const { return live && !previous && !older; }
    bool Released() const { return !live && older; }
    void Set(bool pressed) {
        tapped = !pressed && live && !previous;
        live = pressed || tapped;
    }
    void Advance() {
        older = previous;
        previous = live;
        if (tapped) {
            live = false;
            tapped = false;
        }
    }
};

struct Pad {
    platform::ControllerState previous;
    platform::ControllerState current;
    float leftMagnitude = 0.0f;
    float rightMagnitude = 0.0f;
    bool connected = false;
};

struct State {
    std::array<bool, kKeyCount> live{};
    std::array<bool, kKeyCount> previous{};
    std::array<bool, kKeyCount> older{};
    // Keys pressed and released since the last update; live until that update (as ButtonState).
    std::array<bool, kKeyCount> tapped{};
    std::array<std::uint8_t, kKeyCount> countdown{};
    ButtonState left;
    ButtonState right;
    int mouseX = 0;
    int mouseY = 0;
    int wheelDelta = 0;

    std::array<Pad, kPadCount> pads{};
    platform::Gamepads* gamepads = nullptr;
    double pollTimer = kFirstPollTimer;

    bool recordInput = false;
    bool playbackInput = false;
    bool isRecording = false;
    bool isPlayingBack = false;
    bool randomInput = false;
    std::uint64_t frameCounter = 0;
    std::int32_t nextRandomEvent = -1;
    int randomKey = 0;
    std::mt19937 random;

    CameraSource cameras;
};

State& S() {
    static State state;
    return state;
}

// The files live outside State so that InputInitialize can reset the rest by assignment.
InputRecording::Writer& Recorder() {
    static InputRecording::Writer writer;
    return writer;
}
InputRecording::Reader& Player() {
    static InputRecording::Reader reader;
    return reader;
}

bool ValidKey(int key) {
    return key >= 0 && key < kKeyCount;
}
bool ValidPad(int pad) {
    return pad >= 0 && pad < kPadCount;
}

std::uint32_t Draw() {
    return static_cast<std::uint32_t>(S().random());
}

float Magnitude(std::int16_t x, std::int16_t y, double deadZone) {
    const double distance =
        std::min(std::hypot(static_cast<double>(x), static_cast<double>(y)), kMaxStick);
    return static_cast<float>(std::max(0.0, distance - deadZone));
}

void StopPlaybackFile() {
    State& s = S();
    Player().Close();
    s.nextRandomEvent = -1;
    s.isPlayingBack = false;
    s.frameCounter = 0;
}

void ReadPad(int index) {
    State& s = S();
    Pad& pad = s.pads[index];
    pad.previous = pad.current;
    pad.current = {};
    const bool fromRecording = s.isPlayingBack && index == 0;
    bool gotState = false;
    if (fromRecording) {
        if (Player().Next(pad.current) != InputRecording::Reader::Result::Record) {
            // The recording is over: ask for the next level once, and end the playback here so a
            // playback started by hand cannot keep asking every frame.
            pad.current = {};
            StopPlaybackFile();
            MessagingSystem::Send<ChangeLevelMessage>(LevelManager::GetCurrentLevel() + 1);
            return;
        }
        gotState = true;
    } else if (s.gamepads) {
        gotState = s.gamepads->Read(index, pad.current);
        if (!gotState) {
            pad.current = {};
        }
    }
    if (!gotState) {
        pad.connected = false;
        pad.leftMagnitude = 0.0f;
        pad.rightMagnitude = 0.0f;
        return;
    }
    pad.leftMagnitude = Magnitude(pad.current.thumbLX, pad.current.thumbLY, kLeftDeadZone);
    pad.rightMagnitude = Magnitude(pad.current.thumbRX, pad.current.thumbRY, kRightDeadZone);
    if (index == 0 && s.isRecording && !s.isPlayingBack) {
        Recorder().Append(pad.current);
    }
    pad.connected = true;
}

void ProbePad(int index) {
    State& s = S();
    platform::ControllerState scratch;
    s.pads[index].connected = s.gamepads && s.gamepads->Read(index, scratch);
}

void SetMotors(int pad, std::uint16_t speed) {
    if (S().gamepads) {
        S().gamepads->SetRumble(pad, speed, speed);
    }
}

void HandleMessages() {
    State& s = S();
    for (const auto& message : MessagingSystem::GetMessages()) {
        switch (message->type) {
            case MessageType::ChangeLevel:
                if (s.recordInput) {
                    Recorder().Close();
                    s.isRecording = false;
                    s.frameCounter = 0;
                } else if (s.playbackInput) {
                    StopPlaybackFile();
                }
                break;
            case MessageType::TogglePause:
                StopRumble();
                break;
            case MessageType::LevelObjectsLoaded:
                ClearKeys();
                if (s.recordInput) {
                    StartRecording(true);
                } else if (s.playbackInput) {
                    StartPlayback(true);
                }
                break;
            default:
                break;
        }
    }
}

// The live state as written, with no latch: random input flips keys inside the update itself.
void SetLive(int key, bool pressed) {
    State& s = S();
    s.live[key] = pressed;
    if (pressed && !s.previous[key] && !s.older[key]) {
        s.countdown[key] = kRepeatDelay;
    }
}

void Trace() {
    const State& s = S();
    const int key = kRandomKeys[s.randomKey];
    std::cout << s.nextRandomEvent << ' ' << s.frameCounter << ' ' << key << ' '
              << (s.live[key] ? 0 : 1) << '\n';
}

void DrawRandomEvent() {
    State& s = S();
    s.nextRandomEvent = static_cast<std::int32_t>(Draw() % kRandomEventSpan);
    s.randomKey = static_cast<int>(Draw() % std::size(kRandomKeys));
}

void RandomInputStep() {
    State& s = S();
    if (s.nextRandomEvent == -1) {
        DrawRandomEvent();
    }
    ++s.frameCounter;
    // "At or past" rather than "at": the counter is already 1 when a first event of 0 is drawn,
    // and recording counts frames too, so an exact match could be stepped over and random input
    // would then never press anything again.
    while (s.frameCounter >= static_cast<std::uint64_t>(s.nextRandomEvent)) {
        const int key = kRandomKeys[s.randomKey];
        Trace();
        SetLive(key, !s.live[key]);
        DrawRandomEvent();
        s.frameCounter = 0;
    }
    Trace();
}

}  // namespace

void InputInitialize() {
    Recorder().Close();
    Player().Close();
    State& s = S();
    s = State{};
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    s.random.seed(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

void UseGamepads(platform::Gamepads* gamepads) {
    S().gamepads = gamepads;
}

void Update() {
    HandleMessages();
    State& s = S();
    s.pollTimer += FrameRateController::GetDT();
    s.older = s.previous;
    s.previous = s.live;
    for (int key = 0; key < kKeyCount; ++key) {
        if (s.tapped[key]) {
            s.live[key] = false;
            s.tapped[key] = false;
        }
    }
    s.left.Advance();
    s.right.Advance();

    for (int pad = 0; pad < kPadCount; ++pad) {
        if (s.pads[pad].connected || (pad == 0 && s.isPlayingBack)) {
            ReadPad(pad);
        } else if (s.pollTimer > kProbeAfter) {
            ProbePad(pad);
        }
    }
    if (s.pollTimer > kPollPeriod) {
        s.pollTimer = 0.0;
    }
    if (s.isRecording) {
        ++s.frameCounter;
    }
    if (s.randomInput) {
        RandomInputStep();
    }
    s.wheelDelta = 0;
}

void InputShutdown() {
    Recorder().Close();
    Player().Close();
    State& s = S();
    s.isRecording = false;
    s.isPlayingBack = false;
    s.gamepads = nullptr;
    s.cameras = nullptr;
}

bool KeyTriggered(int key) {
    return ValidKey(key) && S().live[key] && !S().previous[key] && !S().older[key];
}
bool AnyKeyTriggered() {
    for (int key = 0; key < 256; ++key) {
        if (KeyTriggered(key)) {
            return true;
        }
    }
    return false;
}
bool KeyDown(int key) {
    return ValidKey(key) && (S().previous[key] || S().live[key]);
}
bool KeyReleased(int key) {
    return ValidKey(key) && !S().live[key] && S().older[key];
}

bool KeyRepeat(int key) {
    if (!ValidKey(key) || (!S().live[key] && !S().previous[key])) {
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
    if (!ValidKey(key)) {
        return;
    }
    State& s = S();
    s.tapped[key] = !pressed && s.live[key] && !s.previous[key];
    SetLive(key, pressed || s.tapped[key]);
}

void ClearKeys() {
    State& s = S();
    s.live.fill(false);
    s.previous.fill(false);
    s.older.fill(false);
    s.tapped.fill(false);
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

bool PadConnected(int pad) {
    return ValidPad(pad) && S().pads[pad].connected;
}

bool PadButtonDown(int pad, std::uint16_t mask) {
    return PadConnected(pad) && (S().pads[pad].current.buttons & mask) != 0;
}

bool PadButtonTriggered(int pad, std::uint16_t mask) {
    return PadButtonDown(pad, mask) && (S().pads[pad].previous.buttons & mask) == 0;
}

float LeftStickX(int pad) {
    if (!ValidPad(pad) || S().pads[pad].leftMagnitude <= 0.0f) {
        return 0.0f;
    }
    return static_cast<float>(S().pads[pad].current.thumbLX / kMaxStick);
}

float LeftStickY(int pad) {
    if (!ValidPad(pad) || S().pads[pad].leftMagnitude <= 0.0f) {
        return 0.0f;
    }
    return static_cast<float>(S().pads[pad].current.thumbLY / kMaxStick);
}

float RightStickY(int pad) {
    if (!ValidPad(pad) || S().pads[pad].rightMagnitude <= 0.0f) {
        return 0.0f;
    }
    return static_cast<float>(S().pads[pad].current.thumbRY / kMaxStick);
}

float LeftMagnitude(int pad) {
    return ValidPad(pad) ? S().pads[pad].leftMagnitude : 0.0f;
}
float RightMagnitude(int pad) {
    return ValidPad(pad) ? S().pads[pad].rightMagnitude : 0.0f;
}
platform::ControllerState PadState(int pad) {
    return ValidPad(pad) ? S().pads[pad].current : platform::ControllerState{};
}

void SetRumble(int pad, float strength) {
    if (!PadConnected(pad)) {
        return;
    }
    // Out-of-range strengths are clamped: a raw conversion would wrap 1.5 to a weak rumble and
    // is undefined for negatives.
    const float clamped = std::isnan(strength) ? 0.0f : std::clamp(strength, 0.0f, 1.0f);
    SetMotors(pad, static_cast<std::uint16_t>(clamped * 65535.0f));
}

void StopRumble() {
    for (int pad = 0; pad < kPadCount; ++pad) {
        if (S().pads[pad].connected) {
            SetMotors(pad, 0);
        }
    }
}

void SetRandomInput(bool on) {
    S().isPlayingBack = false;
    S().randomInput = on;
}
bool IsRandomInputOn() {
    return S().randomInput;
}
void SeedRandom(std::uint32_t seed) {
    S().random.seed(seed);
}

void SetRecordInput(bool on) {
    S().recordInput = on;
}
bool IsRecordInputOn() {
    return S().recordInput;
}
void SetPlaybackInput(bool on) {
    S().playbackInput = on;
}

void StartRecording(bool on) {
    State& s = S();
    Recorder().Close();
    s.frameCounter = 0;
    s.isRecording = on && Recorder().Open(LevelManager::GetCurrentLevel());
}

void StartPlayback(bool on) {
    State& s = S();
    Player().Close();
    s.nextRandomEvent = -1;
    s.frameCounter = 0;
    s.isPlayingBack = on && Player().Open(LevelManager::GetCurrentLevel(), Draw());
}

bool IsRecording() {
    return S().isRecording;
}
bool IsPlayingBack() {
    return S().isPlayingBack;
}

void SetMouseLeft(bool pressed, int x, int y) {
    S().left.Set(pressed);
    MoveMouse(x, y);
}
void SetMouseRight(bool pressed, int x, int y) {
    S().right.Set(pressed);
    MoveMouse(x, y);
}

void MoveMouse(int x, int y) {
    State& s = S();
    if (!s.cameras) {
        s.mouseX = x;
        s.mouseY = y;
        return;
    }
    int worldX = 0;
    int worldY = 0;
    if (ScreenToWorld(s.cameras(), x, y, worldX, worldY)) {
        s.mouseX = worldX;
        s.mouseY = worldY;
    }
}

void SetWheelDelta(int delta) {
    S().wheelDelta = delta;
}

void SetCameraSource(CameraSource source) {
    S().cameras = std::move(source);
}

}  // namespace InputSystem
