// InputSystem: keyboard, mouse and gamepad state that every other subsystem queries, rumble, and
// three test aids (recording the first controller's input per level, playing it back, random
// movement keys). Free functions over global state, kept in one room per concept: the devices'
// latched state (device_state.h), the tape of recordings (input_tape.h) and random input
// (random_input.h). Core calls Update() once per simulation step (a frame below) before all
// systems, and the window feeds the live state between updates (SetKey, mouse entries), so a key
// pressed during frame N is "triggered" for the systems of frame N+1. A key or button pressed and
// released again before the next update (a quick tap, or a tap during a long frame) stays down
// until that update, so it still reads as triggered for one frame and released after.
//
// Keys are indexed by Windows virtual-key codes (0..255) whatever the platform: the window layer
// maps its own key codes into them. Gamepads are read through the platform::Gamepads that Core
// hands over with UseGamepads; they must outlive InputShutdown(). Diagnostics and the
// random-input trace go to standard output.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "input/mouse_unproject.h"
#include "platform/gamepad.h"

class Object;

// XInput button bits for the pad queries (PadButton::A, PadButton::Start, ...).
namespace PadButton = platform::PadButton;

namespace InputSystem {

// Clears every table and test aid, reseeds the random generator from the clock and forgets the
// gamepads and the camera source.
void InputInitialize();
void UseGamepads(platform::Gamepads* gamepads);
void Update();
// Closes the recording and playback files and forgets the gamepads.
void InputShutdown();

// Keyboard, by virtual-key code; codes outside 0..255 read as not pressed.
bool KeyTriggered(int key);  // pressed now, not in the two updates before
bool KeyDown(int key);       // held: pressed now or at the last update
bool KeyReleased(int key);   // up now, down two updates ago: true on two frames after a release
// False while the key is up. While it is held, the first 35 calls count down and return false,
// every later call returns true; combine with KeyTriggered for one step at the press.
bool KeyRepeat(int key);
// Some key is triggered now (any code 0..255).
bool AnyKeyTriggered();
void SetKey(int key, bool pressed);
// Forgets every key and button state (level load, tests).
void ClearKeys();

bool MouseLeftDown();
bool MouseLeftTriggered();
bool MouseLeftReleased();
bool MouseRightDown();
bool MouseRightTriggered();
int GetMouseX();
int GetMouseY();
int GetWheelDelta();
// The mouse lies inside position +- scale of the object's transform, bounds included.
bool IsMouseOver(const Object& object);

// Gamepads 0..3; any other index reads as not connected.
bool PadConnected(int pad);
bool PadButtonDown(int pad, std::uint16_t mask);
// Down now and none of `mask` down at the read before.
bool PadButtonTriggered(int pad, std::uint16_t mask);
// Raw axis / 32767 (up and right positive), or 0 while the stick is inside its dead zone
// (7849 left, 8689 right, measured on the stick's distance from centre).
float LeftStickX(int pad);
float LeftStickY(int pad);
float RightStickY(int pad);
// How far each stick is beyond its dead zone, in raw units.
float LeftMagnitude(int pad);
float RightMagnitude(int pad);
// The record of the last read (neutral while disconnected).
platform::ControllerState PadState(int pad);
// Replaces what a pad reads for the rest of this update (connected, with `state`); the read before
// stays, so button edges count from it. For a replay fed in after the devices were read.
void ReplacePadState(int pad, const platform::ControllerState& state);
// Makes a key read as down (held and triggered) or up for the rest of this update, whatever the
// keyboard did; for a replay fed in after the window's events.
void ForceKey(int key, bool down);

// Both motors at `strength` (0..1) on a connected pad; StopRumble stops every connected pad.
void SetRumble(int pad, float strength);
void StopRumble();

// Random input: while on, movement keys are pressed at random (F3 on, F4 off). Either switch
// ends a playback.
void SetRandomInput(bool on);
bool IsRandomInputOn();
void SeedRandom(std::uint32_t seed);

// Recording and playback of controller 0, per level. The two switches say whether every level
// load starts a recording or a playback; both are off in the game.
void SetRecordInput(bool on);
bool IsRecordInputOn();
void SetPlaybackInput(bool on);
void StartRecording(bool on);
// Starting a playback on a level with no recording leaves playback off.
void StartPlayback(bool on);
bool IsRecording();
bool IsPlayingBack();
// Steps written by the current recording, and played by the current playback; each restarts
// with its own side.
std::uint64_t RecordedSteps();
std::uint64_t PlayedSteps();

// Window entries; positions in back-buffer pixels, turned into world units through the cameras.
void SetMouseLeft(bool pressed, int x, int y);
void SetMouseRight(bool pressed, int x, int y);
void MoveMouse(int x, int y);
void SetWheelDelta(int delta);

// The cameras the mouse is seen through, in drawing order. Without a source (headless, tools)
// positions are taken as world units unchanged; with one, a position that no camera's viewport
// holds leaves the mouse where it was.
using CameraSource = std::function<std::vector<MouseCamera>()>;
void SetCameraSource(CameraSource source);

}  // namespace InputSystem

// Virtual-key codes the engine names. Letters and digits are their upper-case ASCII codes.
namespace VirtualKey {
inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Menu = 0x12;  // Alt
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Delete = 0x2E;
inline constexpr int F1 = 0x70;
inline constexpr int F2 = 0x71;
inline constexpr int F3 = 0x72;
inline constexpr int F4 = 0x73;
inline constexpr int F5 = 0x74;
inline constexpr int F6 = 0x75;
inline constexpr int F12 = 0x7B;
inline constexpr int Plus = 0xBB;   // the "=" / "+" key
inline constexpr int Minus = 0xBD;  // the "-" key
}  // namespace VirtualKey
