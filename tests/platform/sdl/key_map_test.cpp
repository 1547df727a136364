#include "platform/sdl/key_map.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// USB HID keyboard usage ids (the numbering SDL scancodes follow), written out from the HID
// usage tables so the map is checked against the standard rather than against itself.
struct Expect {
    int usage;
    int virtualKey;
    const char* name;
};

constexpr Expect kGameKeys[] = {
    {0, 0, "no key"},
    {-5, 0, "out of range below"},
    {100000, 0, "out of range above"},
    {39, '0', "0"},
    {40, 0x0D, "Return"},
    {41, 0x1B, "Escape"},
    {42, 0x08, "Backspace"},
    {43, 0x09, "Tab"},
    {44, 0x20, "Space"},
    {45, 0xBD, "Minus"},
    {46, 0xBB, "Equals"},
    {74, 0x24, "Home"},
    {75, 0x21, "Page Up"},
    {76, 0x2E, "Delete"},
    {77, 0x23, "End"},
    {78, 0x22, "Page Down"},
    {79, 0x27, "Right"},
    {80, 0x25, "Left"},
    {81, 0x28, "Down"},
    {82, 0x26, "Up"},
    {88, 0x0D, "Keypad Enter"},
    {89, 0x61, "Keypad 1"},
    {98, 0x60, "Keypad 0"},
    {224, 0x11, "Left Ctrl"},
    {225, 0x10, "Left Shift"},
    {226, 0x12, "Left Alt"},
    {228, 0x11, "Right Ctrl"},
    {229, 0x10, "Right Shift"},
    {230, 0x12, "Right Alt"},
};

// Letters, digits 1-9 and F1-F12 run in both numberings; the keys between and around them do not.
TEST(KeyMap, EveryKeyTheGameUsesHasItsVirtualKeyCode) {
    for (const Expect& key : kGameKeys) {
        EXPECT_EQ(platform::VirtualKeyFromScancode(key.usage), key.virtualKey) << key.name;
    }
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(platform::VirtualKeyFromScancode(4 + i), 'A' + i);
    }
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(platform::VirtualKeyFromScancode(30 + i), '1' + i);
    }
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(platform::VirtualKeyFromScancode(58 + i), 0x70 + i);
    }
}

TEST(KeyMap, DistinctKeysNeverShareACodeExceptLeftAndRightTwins) {
    std::multiset<int> codes;
    for (int usage = 0; usage < 512; ++usage) {
        const int code = platform::VirtualKeyFromScancode(usage);
        if (code != 0) {
            EXPECT_LT(code, 256);
            codes.insert(code);
        }
    }
    for (int code : codes) {
        const bool twin = code == 0x0D || code == 0x10 || code == 0x11 || code == 0x12;
        EXPECT_EQ(codes.count(code), twin ? 2u : 1u) << "code " << code;
    }
}

}  // namespace
