#include "input/input_system.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

#include "core/frame_rate_controller.h"
#include "core/message_reactions.h"
#include "core/messaging.h"
#include "input/bindings.h"
#include "input/device_state.h"
#include "input/input_tape.h"
#include "input/random_input.h"
#include "objects/level_manager.h"
#include "objects/object.h"

namespace InputSystem {
namespace {

constexpr double kMaxStick = 32767.0;

struct State {
    input::Keyboard keyboard;
    input::Mouse mouse;
    input::Pads pads;
    input::RandomInput random;
    CameraSource cameras;
};

State& S() {
    static State state;
    return state;
}

// The files live outside State so that InputInitialize can reset the rest by assignment.
input::Tape& Tape() {
    static input::Tape tape;
    return tape;
}

// The reactions touch only the global state, so one table serves every engine in the process.
struct Reactions : MessageReactions {
    Reactions() {
        On<ChangeLevelMessage>([](const ChangeLevelMessage&) { Tape().LevelChanging(); });
        On({MessageType::TogglePause}, [] { StopRumble(); });
        On<DebugCommandMessage>([](const DebugCommandMessage& debug) {
            if (debug.command == DebugCommand::RandomInputOn ||
                debug.command == DebugCommand::RandomInputOff) {
                SetRandomInput(debug.command == DebugCommand::RandomInputOn);
            }
        });
        On({MessageType::LevelObjectsLoaded}, [] {
            ClearKeys();
            const int level = LevelManager::GetCurrentLevel();
            if (Tape().recordEveryLevel) {
                Tape().StartRecording(true, level);
            } else if (Tape().playEveryLevel) {
                Tape().StartPlayback(true, level, S().random.Draw());
            }
        });
    }
};

void HandleMessages() {
    static const Reactions reactions;
    reactions.ReactToQueue();
}

// Pad 0 reads from the playback while one runs, and is recorded in the default layout while
// recording.
void ReadPads() {
    input::Pads& pads = S().pads;
    input::Tape& tape = Tape();
    for (int pad = 0; pad < input::Pads::kPadCount; ++pad) {
        const bool replayed = pad == 0 && tape.IsPlayingBack();
        if (!replayed && !pads.Connected(pad)) {
            if (pads.ProbeDue()) {
                pads.Probe(pad);
            }
            continue;
        }
        if (!replayed) {
            const auto state = pads.ReadDevice(pad);
            pads.Accept(pad, state);
            if (pad == 0 && state) {
                tape.Record(Bindings::ToDefaultLayout(*state));
            }
        } else if (const auto state = tape.Play()) {
            pads.Accept(pad, state);
        } else {
            // The recording is over: ask for the next level once; the playback has ended, so a
            // playback started by hand cannot keep asking every step.
            pads.Blank(pad);
            MessagingSystem::Send<ChangeLevelMessage>(LevelManager::GetCurrentLevel() + 1);
        }
    }
}

float Stick(int pad, std::int16_t axis, float magnitude) {
    if (!input::Pads::Valid(pad) || magnitude <= 0.0f) {
        return 0.0f;
    }
    return static_cast<float>(axis / kMaxStick);
}

}  // namespace

void InputInitialize() {
    Tape().Close();
    Tape() = input::Tape{};
    State& s = S();
    s = State{};
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    s.random.Seed(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

void UseGamepads(platform::Gamepads* gamepads) {
    S().pads.Use(gamepads);
}

void Update() {
    HandleMessages();
    State& s = S();
    s.pads.StartUpdate(FrameRateController::GetDT());
    s.keyboard.Advance();
    s.mouse.left.Advance();
    s.mouse.right.Advance();
    ReadPads();
    s.pads.FinishUpdate();
    if (s.random.IsOn()) {
        s.random.Step(s.keyboard, std::cout);
    }
    s.mouse.wheelDelta = 0;
}

void InputShutdown() {
    Tape().Close();
    S().pads.Use(nullptr);
    S().cameras = nullptr;
}

bool KeyTriggered(int key) {
    return S().keyboard.Triggered(key);
}
bool AnyKeyTriggered() {
    return S().keyboard.AnyTriggered();
}
bool KeyDown(int key) {
    return S().keyboard.Held(key);
}
bool KeyReleased(int key) {
    return S().keyboard.Released(key);
}
bool KeyRepeat(int key) {
    return S().keyboard.Repeat(key);
}
void SetKey(int key, bool pressed) {
    S().keyboard.Set(key, pressed);
}
void ClearKeys() {
    S().keyboard.Clear();
}

bool MouseLeftDown() {
    return S().mouse.left.live;
}
bool MouseLeftTriggered() {
    return S().mouse.left.Triggered();
}
bool MouseLeftReleased() {
    return S().mouse.left.Released();
}
bool MouseRightDown() {
    return S().mouse.right.live;
}
bool MouseRightTriggered() {
    return S().mouse.right.Triggered();
}
int GetMouseX() {
    return S().mouse.x;
}
int GetMouseY() {
    return S().mouse.y;
}
int GetWheelDelta() {
    return S().mouse.wheelDelta;
}

bool IsMouseOver(const Object& object) {
    const Vector2D p = object.GetTransform().GetPosition();
    const Vector2D s = object.GetTransform().GetScale();
    const auto x = static_cast<float>(S().mouse.x);
    const auto y = static_cast<float>(S().mouse.y);
    return x >= p.x - s.x && x <= p.x + s.x && y >= p.y - s.y && y <= p.y + s.y;
}

bool PadConnected(int pad) {
    return S().pads.Connected(pad);
}
bool PadButtonDown(int pad, std::uint16_t mask) {
    return PadConnected(pad) && (S().pads.Current(pad).buttons & mask) != 0;
}
bool PadButtonTriggered(int pad, std::uint16_t mask) {
    return PadButtonDown(pad, mask) && (S().pads.Previous(pad).buttons & mask) == 0;
}
float LeftStickX(int pad) {
    return Stick(pad, PadState(pad).thumbLX, LeftMagnitude(pad));
}
float LeftStickY(int pad) {
    return Stick(pad, PadState(pad).thumbLY, LeftMagnitude(pad));
}
float RightStickY(int pad) {
    return Stick(pad, PadState(pad).thumbRY, RightMagnitude(pad));
}
float LeftMagnitude(int pad) {
    return S().pads.LeftMagnitude(pad);
}
float RightMagnitude(int pad) {
    return S().pads.RightMagnitude(pad);
}
platform::ControllerState PadState(int pad) {
    return input::Pads::Valid(pad) ? S().pads.Current(pad) : platform::ControllerState{};
}

void ReplacePadState(int pad, const platform::ControllerState& state) {
    if (input::Pads::Valid(pad)) {
        S().pads.Replace(pad, state);
    }
}

void ForceKey(int key, bool down) {
    S().keyboard.Force(key, down);
}

void SetRumble(int pad, float strength) {
    if (!PadConnected(pad) || !S().pads.Devices()) {
        return;
    }
    // Out-of-range strengths are clamped: a raw conversion would wrap 1.5 to a weak rumble and
    // is undefined for negatives.
    const float clamped = std::isnan(strength) ? 0.0f : std::clamp(strength, 0.0f, 1.0f);
    const auto speed = static_cast<std::uint16_t>(clamped * 65535.0f);
    S().pads.Devices()->SetRumble(pad, speed, speed);
}

void StopRumble() {
    for (int pad = 0; pad < input::Pads::kPadCount; ++pad) {
        if (PadConnected(pad) && S().pads.Devices()) {
            S().pads.Devices()->SetRumble(pad, 0, 0);
        }
    }
}

void SetRandomInput(bool on) {
    // Random keys and a recording's pad would fight over the character.
    Tape().StopPlayback();
    S().random.Switch(on);
}
bool IsRandomInputOn() {
    return S().random.IsOn();
}
void SeedRandom(std::uint32_t seed) {
    S().random.Seed(seed);
}

void SetRecordInput(bool on) {
    Tape().recordEveryLevel = on;
}
bool IsRecordInputOn() {
    return Tape().recordEveryLevel;
}
void SetPlaybackInput(bool on) {
    Tape().playEveryLevel = on;
}
void StartRecording(bool on) {
    Tape().StartRecording(on, LevelManager::GetCurrentLevel());
}
void StartPlayback(bool on) {
    const std::uint32_t choice = on ? S().random.Draw() : 0;
    Tape().StartPlayback(on, LevelManager::GetCurrentLevel(), choice);
}
bool IsRecording() {
    return Tape().IsRecording();
}
bool IsPlayingBack() {
    return Tape().IsPlayingBack();
}
std::uint64_t RecordedSteps() {
    return Tape().RecordedSteps();
}
std::uint64_t PlayedSteps() {
    return Tape().PlayedSteps();
}

void SetMouseLeft(bool pressed, int x, int y) {
    S().mouse.left.Set(pressed);
    MoveMouse(x, y);
}
void SetMouseRight(bool pressed, int x, int y) {
    S().mouse.right.Set(pressed);
    MoveMouse(x, y);
}

void MoveMouse(int x, int y) {
    State& s = S();
    if (!s.cameras) {
        s.mouse.x = x;
        s.mouse.y = y;
        return;
    }
    int worldX = 0;
    int worldY = 0;
    if (ScreenToWorld(s.cameras(), x, y, worldX, worldY)) {
        s.mouse.x = worldX;
        s.mouse.y = worldY;
    }
}

void SetWheelDelta(int delta) {
    S().mouse.wheelDelta = delta;
}

void SetCameraSource(CameraSource source) {
    S().cameras = std::move(source);
}

}  // namespace InputSystem
