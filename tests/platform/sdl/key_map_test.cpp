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
    {4, 'A', "A"},
    {7, 'D', "D"},
    {26, 'W', "W"},
    {22, 'S', "S"},
    {21, 'R', "R"},
    {19, 'P', "P"},
    {18, 'O', "O"},
    {15, 'L', "L"},
    {16, 'M', "M"},
    {17, 'N', "N"},
    {20, 'Q', "Q"},
    {29, 'Z', "Z"},
    {30, '1', "1"},
    {38, '9', "9"},
    {39, '0', "0"},
    {40, 0x0D, "Return"},
    {41, 0x1B, "Escape"},
    {42, 0x08, "Backspace"},
    {43, 0x09, "Tab"},
    {44, 0x20, "Space"},
    {45, 0xBD, "Minus"},
    {46, 0xBB, "Equals"},
    {58, 0x70, "F1"},
    {60, 0x72, "F3"},
    {61, 0x73, "F4"},
    {69, 0x7B, "F12"},
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

TEST(KeyMap, EveryKeyTheGameUsesHasItsVirtualKeyCode) {
    for (const Expect& key : kGameKeys) {
        EXPECT_EQ(platform::VirtualKeyFromScancode(key.usage), key.virtualKey) << key.name;
    }
}

TEST(KeyMap, LettersAndDigitsMapAsARun) {
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

TEST(KeyMap, UnknownAndOutOfRangeCodesGiveNoKey) {
    EXPECT_EQ(platform::VirtualKeyFromScancode(0), 0);
    EXPECT_EQ(platform::VirtualKeyFromScancode(-5), 0);
    EXPECT_EQ(platform::VirtualKeyFromScancode(100000), 0);
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
