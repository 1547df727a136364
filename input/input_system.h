// InputSystem: keyboard, mouse and gamepad state that every other subsystem queries. Free functions
// over global state; Core calls Update() once per frame before all systems, and the window feeds
// the live state between updates (SetKey, mouse entries), so a key pressed during frame N is
// "triggered" for the systems of frame N+1.
//
// Keys are indexed by Windows virtual-key codes (0..255) whatever the platform: the window layer
// maps its own key codes into them.
#pragma once

#include <cstdint>

class Object;

namespace InputSystem {

void InputInitialize();
void Update();
void InputShutdown();

// Keyboard, by virtual-key code; codes outside 0..255 read as not pressed.
bool KeyTriggered(int key);
bool KeyDown(int key);
bool KeyReleased(int key);
bool KeyRepeat(int key);
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

// Random input: while on, movement keys are pressed at random (F3 on, F4 off).
void SetRandomInput(bool on);
bool IsRandomInputOn();

// Window entries; positions are already in world units.
void SetMouseLeft(bool pressed, int x, int y);
void SetMouseRight(bool pressed, int x, int y);
void MoveMouse(int x, int y);
void SetWheelDelta(int delta);

}  // namespace InputSystem

// Virtual-key codes the engine names.
namespace VirtualKey {
inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Menu = 0x12;  // Alt
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Delete = 0x2E;
inline constexpr int F1 = 0x70;
inline constexpr int F2 = 0x71;
inline constexpr int F3 = 0x72;
inline constexpr int F4 = 0x73;
inline constexpr int F12 = 0x7B;
}  // namespace VirtualKey
