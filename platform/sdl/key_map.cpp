#include "platform/sdl/key_map.h"

#include <SDL_scancode.h>

#include <array>

namespace platform {
namespace {

struct KeyPair {
    SDL_Scancode scancode;
    int virtualKey;
};

// Keys with their own block of consecutive codes on both sides are added in BuildTable.
constexpr KeyPair kSingles[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_LSHIFT, 0x10},
    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},
    {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_LALT, 0x12},
    {SDL_SCANCODE_RALT, 0x12},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_0, 0x30},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

std::array<unsigned char, SDL_NUM_SCANCODES> BuildTable() {
    std::array<unsigned char, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i) {
        table[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
    }
    // HID orders the digits 1..9 then 0; virtual keys order them 0..9.
    for (int i = 0; i < 9; ++i) {
        table[SDL_SCANCODE_1 + i] = static_cast<unsigned char>('1' + i);
        table[SDL_SCANCODE_KP_1 + i] = static_cast<unsigned char>(0x61 + i);
    }
    for (int i = 0; i < 12; ++i) {
        table[SDL_SCANCODE_F1 + i] = static_cast<unsigned char>(0x70 + i);
    }
    for (int i = 0; i < 12; ++i) {
        table[SDL_SCANCODE_F13 + i] = static_cast<unsigned char>(0x7C + i);
    }
    for (const KeyPair& pair : kSingles) {
        table[pair.scancode] = static_cast<unsigned char>(pair.virtualKey);
    }
    return table;
}

}  // namespace

int VirtualKeyFromScancode(int scancode) {
    static const std::array<unsigned char, SDL_NUM_SCANCODES> table = BuildTable();
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) {
        return 0;
    }
    return table[static_cast<std::size_t>(scancode)];
}

}  // namespace platform
