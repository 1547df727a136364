// Physical keys to Windows virtual-key codes. The desktop window reports keys by USB HID usage id
// (which is what an SDL scancode is); the engine indexes its key tables by virtual-key code.
// The mapping is positional, as on a US keyboard: the key left of S is 'A' whatever the layout,
// so the movement keys stay where the player's fingers are.
#pragma once

namespace platform {

// The virtual-key code for a USB HID keyboard usage id, or 0 for a key the game has no code for.
// Left and right modifiers share one code (Shift 0x10, Ctrl 0x11, Alt 0x12), and the keypad's
// Enter is Return, as the Windows key messages report them.
int VirtualKeyFromScancode(int scancode);

}  // namespace platform
